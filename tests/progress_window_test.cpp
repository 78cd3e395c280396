// The progress window on the simulated desktop where a macro cannot reach:
// another program's path and no work area, hotkey conflicts, the hidden
// start, what pressed hotkeys do to a running playback, and waiting for the
// clipboard through the window. Key names and the step aside from a resting
// cursor are played as golden traces.
#include <gtest/gtest.h>

#include "SimFixture.h"
#include "ScriptTestSupport.h"
#include "builder/ImageBuilder.h"
#include "builtins_test_support.h"
#include "container/Tags.h"
#include "shell/PlayerBuiltinHost.h"
#include "platform/sim/SimPlay.h"
#include "engine/Hotkeys.h"

namespace ovrix {
namespace {

constexpr uint32_t kShiftF2[] = {kModShift, 113};
constexpr uint32_t kCtrlP[] = {kModControl, 'P'};

struct ProgressWindowTest : ::testing::Test {
    void Open(const ProgressWindowSettings& settings = {}) {
        ASSERT_TRUE(f.OpenWindow(settings));
    }
    ScreenRect Frame() { return f.sim.Window().Frame(); }
    void RestCursorOnWindow() {
        const ScreenRect frame = Frame();
        f.sim.PlaceCursor(frame.left + 10, frame.top + 10);
    }
    SimFixture f;
};

// Without a stop key the line names the program: the last part of its path
// without the extension, a dot in a folder name notwithstanding.
TEST_F(ProgressWindowTest, ScriptLineWithoutAStopKeyNamesTheProgram) {
    f.sim.programPath = u"C:\\Tools\\v1.5\\player.exe";
    ProgressWindowSettings settings;
    settings.noStopKey = 1;
    Open(settings);
    EXPECT_EQ(f.desktop.progress.GetLine(ProgressLine::Script), u"player");
}

// Where the work area is known the window sits in its bottom-right corner
// (the golden traces place the cursor on it there); without one, in the
// screen's.
TEST_F(ProgressWindowTest, WithoutAWorkAreaSitsInTheScreenCorner) {
    f.sim.workAreaUnknown = true;
    Open();
    EXPECT_EQ(Frame().bottom, 1080);
    EXPECT_EQ(Frame().right, 1920);
}

TEST_F(ProgressWindowTest, StopKeyConflictStopsAndTakesNothingElse) {
    f.sim.takenHotkeys.insert({kShiftF2[0], kShiftF2[1]});
    Open();
    EXPECT_EQ(f.Events("msgbox"), (std::vector<std::string>{"msgbox 0x0 \"Ovrix\" \"Hotkey 'Shift + F2' conflict!\""}));
    EXPECT_EQ(f.Events("hotkey"), (std::vector<std::string>{"hotkey stop 0x4 113 0"}));
    EXPECT_TRUE(IsSet(StopRequest));
    EXPECT_FALSE(f.sim.PressHotkey(kCtrlP[0], kCtrlP[1]));
    // No timer: a resting cursor does not move the window.
    RestCursorOnWindow();
    f.sim.Advance(5000000);
    EXPECT_EQ(f.Events("progress move").size(), 1u);
}

TEST_F(ProgressWindowTest, PauseKeyConflictIsToldAndPlaybackGoesOn) {
    f.sim.takenHotkeys.insert({kCtrlP[0], kCtrlP[1]});
    Open();
    EXPECT_EQ(f.Events("msgbox"), (std::vector<std::string>{"msgbox 0x0 \"Ovrix\" \"Hotkey 'Ctrl + P' conflict!\""}));
    EXPECT_FALSE(IsSet(StopRequest));
    EXPECT_FALSE(f.sim.PressHotkey(kCtrlP[0], kCtrlP[1]));
    EXPECT_TRUE(f.sim.PressHotkey(kShiftF2[0], kShiftF2[1]));
    EXPECT_TRUE(IsSet(StopRequest));
}

TEST(ProgressWindow, HiddenStartShowsOnlyWhilePausedWhenAsked) {
    struct Case {
        uint32_t startHidden, showWhenPaused;
        std::vector<std::string> expected;  // after opening, pausing and resuming
    };
    const Case cases[] = {
        {1, 1, {"progress move bottom-right", "progress show", "progress hide"}},
        {1, 0, {"progress move bottom-right"}},
        {0, 1, {"progress move bottom-right", "progress show"}},
    };
    for (const Case& c : cases) {
        SimFixture f;
        ProgressWindowSettings settings;
        settings.startHidden = c.startHidden;
        settings.showWhenPaused = c.showWhenPaused;
        f.OpenWindow(settings);
        ASSERT_TRUE(f.sim.PressHotkey(kCtrlP[0], kCtrlP[1]));
        EXPECT_TRUE(IsSet(PauseRequest));
        EXPECT_EQ(f.sim.Window().Visible(), c.startHidden == 0 || c.showWhenPaused != 0);
        ASSERT_TRUE(f.sim.PressHotkey(kCtrlP[0], kCtrlP[1]));
        EXPECT_FALSE(IsSet(PauseRequest));
        EXPECT_EQ(f.sim.Window().Visible(), c.startHidden == 0);
        EXPECT_EQ(f.Events("progress"), c.expected) << c.startHidden << " " << c.showWhenPaused;
    }
}

TEST(ProgressWindowHotkeys, PauseShowsTheKeyToContinueAndStopEndsPlayback) {
    // Three 1 s waits; Alt + F10 pauses at 0.3 s and resumes at 2.3 s;
    // Shift + F2 stops at 2.6 s.
    using scripttest::Wait;
    const EventList steps = SimFixture::StepList({Wait(0, 1000), Wait(0, 1000), Wait(0, 1000)});
    int presses = 0;
    SimPlayOptions options;
    options.setup = [&presses](SimPlatform& sim) {
        sim.onPump = [&presses](SimPlatform& sim) {
            const uint64_t at[] = {300, 2300, 2600};
            if (presses < 3 && sim.ElapsedMs() >= at[presses]) {
                const bool stop = presses == 2;
                EXPECT_TRUE(sim.PressHotkey(stop ? kModShift : kModAlt, stop ? 113 : 121));
                ++presses;
            }
        };
    };
    const auto image = ImageBuilder().Setting(tag::kPauseKey, 121).Setting(tag::kPauseModifiers, 4);
    const auto result = PlayOnSim(ImageBuilder(image).Main(steps).Build(), options);
    EXPECT_EQ(EventsOf(result.trace, "line status"),
              (std::vector<std::string>{"line status \"Paused, Press Alt + F10 to Continue\"", "line status \"\""}));
    EXPECT_EQ(EventsOf(result.trace, "hotkey-press"),
              (std::vector<std::string>{"hotkey-press pause", "hotkey-press pause", "hotkey-press stop"}));
    // The stop ends the first step's delay at once: no second step, no more passes.
    EXPECT_EQ(EventsOf(result.trace, "line step").size(), 1u);
    EXPECT_LT(result.elapsedMs, 2700u);
}

TEST(ProgressWindowHotkeys, StopKeyConflictEndsPlaybackBeforeTheFirstStep) {
    const auto image = ImageBuilder().Setting(tag::kRepeat, 3);
    EventList steps;
    steps.Append(MakeRef<WaitEvent>());
    SimPlayOptions options;
    options.setup = [](SimPlatform& sim) { sim.takenHotkeys.insert({kModShift, 113}); };
    const auto result = PlayOnSim(ImageBuilder(image).Main(steps).Build(), options);
    EXPECT_EQ(EventsOf(result.trace, "msgbox").size(), 1u);
    EXPECT_TRUE(EventsOf(result.trace, "line step").empty());
    EXPECT_EQ(EventsOf(result.trace, "line repeat").size(), 1u);
    EXPECT_EQ(result.trace.back().substr(result.trace.back().find(' ') + 1), "end");
}

struct ClipboardWaitTest : ProgressWindowTest {
    std::u16string Wait(double timeoutMs) {
        const PExprItem value = testing_builtins::Call(u"WaitClipboardText", {testing_builtins::Num(timeoutMs)});
        return value ? AsText(value) : u"<none>";
    }
    PlayerBuiltinHost host{f.player};
};

// The wait answers the text that arrives while waiting (the script's own copy
// too) and gives up on its timeout, on a stop, or at once without a window.
TEST_F(ClipboardWaitTest, AnswersTheTextThatArrivesOrGivesUp) {
    EXPECT_EQ(Wait(300), u"");  // no window to watch with
    EXPECT_EQ(f.sim.ElapsedMs(), 0u);
    Open();
    f.sim.clipboardChanges = {{100, u"before"}, {1200, u"copied"}, {9000, u"late"}};
    f.sim.Advance(500000);  // the first change comes before anyone waits
    EXPECT_EQ(Wait(5000), u"copied");
    EXPECT_GE(f.sim.ElapsedMs(), 1200u);
    EXPECT_LT(f.sim.ElapsedMs(), 1300u);
    EXPECT_EQ(Wait(300), u"");
    EXPECT_GE(f.sim.ElapsedMs(), 1500u);
    EXPECT_LT(f.sim.ElapsedMs(), 1600u);
    f.sim.onPump = [](SimPlatform& sim) {
        if (sim.ElapsedMs() >= 2000) sim.PutOnClipboard(u"mine");
    };
    EXPECT_EQ(Wait(0), u"mine");
    // Without a timeout only a stop ends the wait.
    f.sim.onPump = [](SimPlatform& sim) {
        if (sim.ElapsedMs() >= 3000) SetFlag(StopRequest);
    };
    EXPECT_EQ(Wait(0), u"");
    EXPECT_LT(f.sim.ElapsedMs(), 3100u);
}

}  // namespace
}  // namespace ovrix
