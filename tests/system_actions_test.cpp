// The system and file steps played on the simulated desktop where a script
// as source beside its trace (tests/golden) cannot say it: random and
// endless waits, a refused delete, message boxes answered by a button
// without a name or by their timeout, a cancelled countdown and the
// countdown dialog's own decisions.
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

// A delete the desktop refuses shows "Failed!". (A copy of a missing file
// and the other file step texts play as source in tests/golden.)
TEST_F(SystemActions, ARefusedDeleteShowsFailed) {
    auto del = Step<DelFileEvent>(1000);
    del->file = u"C:\\here.txt";
    f.sim.files.AddFile(u"C:\\here.txt");
    f.sim.files.fileError = 5;
    Play({del});
    EXPECT_EQ(Of({"delete"}), (Lines{"delete \"C:\\\\here.txt\" 5"}));
    EXPECT_EQ(Status(), (Lines{"line status \"Failed!\""}));
}

// A button without a name answers an empty text, a box given only its text
// shows nothing, and a box whose time runs out answers "Timeout" after its
// timeout rounded to whole ms. (Named buttons and the type play as source
// in tests/golden.)
TEST_F(SystemActions, MessageBoxExUnnamedButtonsAndTimeouts) {
    PlayerBuiltinHost host(f.player);
    using scripttest::Num;
    using scripttest::Text;
    using testing_builtins::Call;
    f.sim.messageBoxAnswers = {99};
    EXPECT_EQ(AsText(Call(u"MessageBoxEx", {Text(u"Odd"), Text(u"T")})), u"");
    EXPECT_FALSE(testing_builtins::CallBare(u"MessageBoxEx", {Text(u"one argument")}));
    f.sim.timedBoxesTimeOut = true;
    const uint64_t start = f.sim.ElapsedMs();
    EXPECT_EQ(AsText(Call(u"MessageBoxEx", {Text(u"Soon"), Text(u"T"), Num(1499.6)})), u"Timeout");
    EXPECT_EQ(f.sim.ElapsedMs() - start, 1500u);
    EXPECT_EQ(f.Events("msgbox"), (Lines{"msgbox 0x40040 \"T\" \"Odd\"", "msgbox 0x40040 \"T\" \"Soon\" 1500"}));
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

}  // namespace
}  // namespace ovrix
