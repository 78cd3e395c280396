// The system and file steps played on the simulated desktop: waits and their
// status texts, failed file operations, window styles, the script's message
// box title, and shutting down with and without the countdown dialog.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "SimFixture.h"
#include "ScriptTestSupport.h"
#include "actions/ShutdownCountdown.h"
#include "actions/SystemSteps.h"
#include "builtins_test_support.h"
#include "engine/Playback.h"
#include "shell/PlayerBuiltinHost.h"

namespace ovrix {
namespace {

using scripttest::Step, scripttest::Wait;
constexpr int64_t kForever = std::numeric_limits<int64_t>::max();

Ref<Event> Shutdown(std::u16string action, uint32_t countdown, uint32_t seconds = 3) {
    auto s = Step<ShutdownEvent>(0);
    s->action = std::move(action);
    s->showCountdown = countdown;
    s->seconds = seconds;
    return s;
}

struct SystemActions : ::testing::Test {
    uint64_t Play(std::vector<Ref<Event>> steps) {
        return f.PlaySteps(std::move(steps));
    }
    Lines Of(std::initializer_list<std::string_view> events) const { return f.Events(events); }
    Lines Status() const { return f.Events("line status"); }

    SimFixture f;
};

TEST_F(SystemActions, WaitCountsDownWholeSecondsThenTheRestThenTheDelay) {
    const uint64_t took = Play({Wait(2500, 300), Wait(0, 200), Wait(-5000, 100), Wait(-5000, 0, 1)});
    // No "Step Complete" during the delays: they are waited plainly.
    EXPECT_EQ(Status(), (Lines{"line status \"Wait 00:00:02\"", "line status \"Wait 00:00:01\"",
                               "line status \"Wait 500 ms\"", "line status \"\""}));
    EXPECT_GE(took, 3100u);
    EXPECT_LT(took, 3120u);  // with the engine's 10 ms breather after the last step
}

TEST_F(SystemActions, RandomWaitIsAThousandthsPartOfTheTime) {
    SimPlatform probe;
    probe.SeedRandom(7);
    const uint32_t thousandths = probe.Random() % 1000;
    ASSERT_NE(thousandths, 0u);
    f.sim.SeedRandom(7);
    const uint64_t took = Play({Wait(1000, 0, 1)});
    EXPECT_EQ(Status(), (Lines{"line status \"Wait " + std::to_string(thousandths) + " ms\""}));
    EXPECT_GE(took, thousandths);
    EXPECT_LT(took, thousandths + 60u);  // whole 50 ms slices
}

TEST_F(SystemActions, LongWaitsShowHoursWithinTheDayAndEndOnStop) {
    uint64_t stopAt = 2500;
    f.sim.onPump = [&](SimPlatform& s) { SetFlag(StopRequest, s.ElapsedMs() >= stopAt ? 1 : 0); };
    Play({Wait(90'061'500, 0)});  // one day, one hour, one minute, one second and a half
    EXPECT_EQ(Status(), (Lines{"line status \"Wait 01:01:01\"", "line status \"Wait 01:01:00\"",
                               "line status \"Wait 01:00:59\""}));
    for (uint32_t random : {0u, 1u}) {
        stopAt = f.sim.ElapsedMs() + 1500;
        SetFlag(StopRequest, 0);
        EXPECT_LT(Play({Wait(kForever, 0, random)}), 2000u);
    }
}

TEST_F(SystemActions, FailedFileStepsShowWhyDuringTheDelayOnly) {
    auto copy = [](uint32_t delay) {
        auto c = Step<CopyFileEvent>(delay);
        c->source = u"C:\\missing.txt";
        c->destination = u"C:\\copy.txt";
        return c;
    };
    auto del = Step<DelFileEvent>(1000);
    del->file = u"C:\\here.txt";
    f.sim.files.AddFile(u"C:\\here.txt");
    EXPECT_GE(Play({copy(1000), copy(0), del}), 2000u);
    EXPECT_EQ(Of({"copy", "delete"}), (Lines{"copy \"C:\\\\missing.txt\" \"C:\\\\copy.txt\" 2",
                                             "copy \"C:\\\\missing.txt\" \"C:\\\\copy.txt\" 2",
                                             "delete \"C:\\\\here.txt\" 0"}));
    EXPECT_EQ(Status(), (Lines{"line status \"Fild not found!\"", "line status \"\"", "line status \"Step Complete\""}));

    f.sim.files.fileError = 5;
    Play({del});
    EXPECT_EQ(Status(), (Lines{"line status \"\"", "line status \"Failed!\""}));
}

TEST_F(SystemActions, CommentTakesNoTimeAtAll) {
    EXPECT_LT(Play({Step<CommentEvent>(5000)}), 1u);
    EXPECT_TRUE(f.trace.empty());
}

TEST_F(SystemActions, OpenFilePassesParametersAndStyleOnlyWhenAdvanced) {
    auto open = [](std::u16string style, uint32_t advanced) {
        auto o = Step<OpenFileEvent>(0);
        o->file = u"a.txt";
        o->parameters = u"/p";
        o->windowStyle = std::move(style);
        o->advanced = advanced;
        return o;
    };
    auto web = Step<OpenWebEvent>(0);
    web->address = u"http://example.com/";
    Play({open(u"max", 0), open(u"max", 1), open(u"Max", 1), open(u"min", 1), open(u"hidden", 1), web});
    EXPECT_EQ(f.Events("shell"), (Lines{"shell \"open\" \"a.txt\" \"\" 5", "shell \"open\" \"a.txt\" \"/p\" 3",
                                        "shell \"open\" \"a.txt\" \"/p\" 5", "shell \"open\" \"a.txt\" \"/p\" 2",
                                        "shell \"open\" \"a.txt\" \"/p\" 0",
                                        "shell \"open\" \"http://example.com/\" \"\" 5"}));
}

TEST_F(SystemActions, MessageBoxTakesTheScriptsDefaultTitle) {
    PlayerBuiltinHost host(f.player);
    auto box = [](std::u16string text) {
        auto m = Step<MsgBoxEvent>(0);
        m->message = std::move(text);
        return m;
    };
    auto options = Step<SetVarEvent>(0);
    options->code = scripttest::Stored(
        testing_builtins::LoadCall(u"SetScriptOptions", {scripttest::Text(u"DefaultTitle = Mine")}));
    Play({box(u"Hi\r\nthere"), options, box(u"Again")});
    EXPECT_EQ(f.Events("msgbox"), (Lines{"msgbox 0x50040 \"Vantorel\" \"Hi\\r\\nthere\"",
                                         "msgbox 0x50040 \"Mine\" \"Again\""}));
}

TEST_F(SystemActions, MessageBoxExNamesTheButtonAndTimesOut) {
    PlayerBuiltinHost host(f.player);
    using scripttest::Num;
    using scripttest::Text;
    using testing_builtins::Call;
    f.sim.messageBoxAnswers = {7, 99};
    EXPECT_EQ(AsText(Call(u"MessageBoxEx", {Text(u"Go?"), Text(u""), Num(0), Num(4.5)})), u"No");
    EXPECT_EQ(AsText(Call(u"MessageBoxEx", {Text(u"Odd"), Text(u"T")})), u"");
    EXPECT_FALSE(testing_builtins::CallBare(u"MessageBoxEx", {Text(u"one argument")}));
    f.sim.timedBoxesTimeOut = true;
    const uint64_t start = f.sim.ElapsedMs();
    EXPECT_EQ(AsText(Call(u"MessageBoxEx", {Text(u"Soon"), Text(u"T"), Num(1499.6)})), u"Timeout");
    EXPECT_EQ(f.sim.ElapsedMs() - start, 1500u);
    // The title falls back to the default; Type 4.5 rounds to 5, away from zero.
    EXPECT_EQ(f.Events("msgbox"), (Lines{"msgbox 0x5 \"Vantorel\" \"Go?\"", "msgbox 0x40040 \"T\" \"Odd\"",
                                         "msgbox 0x40040 \"T\" \"Soon\" 1500"}));

    Call(u"SetClipboardText", {Text(u"copied")});
    EXPECT_EQ(AsText(Call(u"GetClipboardText", {})), u"copied");
}

const std::initializer_list<std::string_view> kShutdownEvents = {"dialog", "countdown", "privilege", "exitwindows"};

TEST_F(SystemActions, CountdownCountsTheSecondsThenShutsDown) {
    EXPECT_GE(Play({Shutdown(u"Shutdown", 1)}), 3000u);
    EXPECT_EQ(Of(kShutdownEvents),
              (Lines{"dialog \"Shutdown Computer\" \"Vantorel will shutdown the computer in:\" \"Shutdown Immediate\"",
                     "countdown \"3 seconds\"", "countdown \"2 seconds\"", "countdown \"1 seconds\"",
                     "countdown \"Shutting down...\"", "privilege \"SeShutdownPrivilege\" 1",
                     "exitwindows 0x11 0x80020003", "dialog-closed"}));
}

TEST_F(SystemActions, CancelledCountdownEndsTheStepAndPlaybackGoesOn) {
    f.sim.countdownCancelAfterTicks = 2;
    auto next = Step<OpenWebEvent>(0);
    next->address = u"next";
    Play({Shutdown(u"Reboot", 1), next});
    EXPECT_EQ(Of({"dialog", "countdown", "privilege", "shell"}),
              (Lines{"dialog \"Reboot Computer\" \"Vantorel will reboot the computer in:\" \"Reboot Immediate\"",
                     "countdown \"3 seconds\"", "countdown \"2 seconds\"", "countdown \"1 seconds\"", "dialog-closed",
                     "shell \"open\" \"next\" \"\" 5"}));
}

TEST_F(SystemActions, TheImmediateButtonCarriesOutTheActionAtOnce) {
    ShutdownCountdown dialog(f.desktop, u"Logoff", 60);
    const auto texts = dialog.Initial();
    EXPECT_EQ(texts.message + u"|" + texts.button + u"|" + texts.countdown,
              u"Vantorel will logoff the computer in:|Logoff Immediate|60 seconds");
    const auto update = dialog.Immediate();
    EXPECT_EQ(update.countdown, u"Logging off...");
    EXPECT_TRUE(update.stopTimer);
    EXPECT_TRUE(f.sim.exitWindowsFlags.empty());  // not before the text is shown
    update.afterShown();
    EXPECT_EQ(f.sim.exitWindowsFlags, (std::vector<uint32_t>{0x10}));
    // Seconds past the signed range count as negative: the first tick carries out.
    EXPECT_TRUE(ShutdownCountdown(f.desktop, u"Shutdown", std::numeric_limits<int32_t>::min()).Tick().stopTimer);
}

TEST_F(SystemActions, WithoutCountdownTheStatusLineTellsAndTheSystemIsAsked) {
    Play({Shutdown(u"Logoff", 0), Shutdown(u"Reboot", 0), Shutdown(u"Hibernate", 0)});
    EXPECT_EQ(Of({"line", "privilege", "exitwindows"}),
              (Lines{"line step \"Step 1: Logoff the computer\"", "line status \"Logging off...\"",
                     "privilege \"SeShutdownPrivilege\" 1", "exitwindows 0x10 0x80020003",
                     "line status \"Shutting down...\"", "privilege \"SeShutdownPrivilege\" 1",
                     "exitwindows 0x12 0x80020003", "privilege \"SeShutdownPrivilege\" 1",
                     "exitwindows 0x11 0x80020003"}));

    f.sim.shutdownPrivilegeRefused = true;
    Play({Shutdown(u"Shutdown", 0), Shutdown(u"Shutdown", 1, 1)});
    EXPECT_EQ(Of({"privilege", "exitwindows", "dialog-closed"}),
              (Lines{"privilege \"SeShutdownPrivilege\" 0", "privilege \"SeShutdownPrivilege\" 0", "dialog-closed"}));
}

}  // namespace
}  // namespace ovrix
