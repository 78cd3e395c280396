// The keyboard steps and functions where the simulated desktop needs a state
// the description file has no key for (Caps Lock, a refused clipboard, a
// stop while a key is held) or a count a trace cannot give. The key events
// of keystrokes, single keys, both typing paths and pasting play as source
// in tests/golden (input_*).
#include <gtest/gtest.h>

#include "InputPlaySupport.h"
#include "ScriptTestSupport.h"
#include "actions/KeyboardActions.h"
#include "actions/KeyboardSteps.h"
#include "builtins_test_support.h"
#include "shell/PlayerBuiltinHost.h"

namespace ovrix {
namespace {

using namespace inputtest;
using scripttest::Step;

Ref<Event> Keystroke(std::vector<uint8_t> keys, bool ctrl, bool shift) {
    auto step = Step<KeystrokeEvent>();
    step->ctrl = ctrl;
    step->shift = shift;
    step->keyCount = static_cast<uint32_t>(keys.size());
    std::copy(keys.begin(), keys.end(), step->keys.begin());
    return step;
}

Ref<Event> Input(std::u16string text, bool paste, uint32_t delay = 0) {
    auto step = Step<InputTextEvent>(delay);
    step->text = std::move(text);
    step->paste = paste;
    return step;
}

Lines Typed(std::u16string text, const DesktopSetup& setup = {}) {
    return Untimed(PlayInput({Input(std::move(text), false)}, setup));
}

// Caps Lock is not looked at when typing keys, and inverts Shift for letters
// only when typing input records; a refused clipboard still gets Ctrl+V, and
// the step's delay shows no status.
TEST(KeyboardActions, CapsLockAndARefusedClipboard) {
    const DesktopSetup capsLock = [](SimPlatform& sim) { sim.capsLock = true; };
    EXPECT_EQ(Typed(u"aB", capsLock), (Lines{"key 65 30 0x0", "key 65 30 0x2", "key 16 42 0x0", "key 66 48 0x0",
                                             "key 66 48 0x2", "key 16 42 0x2"}));
    EXPECT_EQ(Typed(u"aB!\u00E9", capsLock),
              (Lines{"input 16 0 0x0", "input 65 0 0x0", "input 65 0 0x2", "input 16 0 0x2", "input 66 0 0x0",
                     "input 66 0 0x2", "input 16 0 0x0", "input 49 0 0x0", "input 49 0 0x2", "input 16 0 0x2",
                     "input 0 233 0x4", "input 0 233 0x6"}));

    const Lines trace = PlayTrace({Input(u"x\r\ny", true, 100), Input(u"", true)},
                                  [](SimPlatform& sim) { sim.clipboardRefuses = true; });
    EXPECT_EQ(InputOf(trace), (Lines{"0 clipboard \"x\\r\\ny\"", "0 key 17 29 0x0", "0 key 86 47 0x0",
                                     "0 key 86 47 0x2", "0 key 17 29 0x2"}));
    EXPECT_TRUE(EventsOf(trace, "line status \"Step Complete\"").empty());
    EXPECT_EQ(trace.back().substr(0, trace.back().find(' ')), "100");
}

TEST(KeyboardActions, LongTextsTypeInLinearTime) {
    std::u16string text(1u << 19, u'a');  // 1 MiB of UTF-16
    text.back() = u'\u00E9';  // found only at the end: the whole text takes the Unicode path
    struct CountingSim : SimPlatform {
        bool DoSendInput(const std::vector<KeyInput>& records) override {
            sent += records.size();
            return true;
        }
        size_t sent = 0;
    } sim;
    Desktop desktop(sim, Trace());
    TypeText(desktop, text, false);
    EXPECT_EQ(sim.sent, 2 * text.size());
}

// TypeText given only its text (no paste flag; the loader always fills it
// in) does nothing.
TEST(KeyboardActions, TypeTextWithoutItsFlagDoesNothing) {
    SimFixture f;
    PlayerBuiltinHost host(f.player);
    testing_builtins::CallBare(u"TypeText", {testing_builtins::Text(u"ab")});
    EXPECT_TRUE(InputOf(f.trace).empty());
}

// Whatever a script presses and however playback is stopped, every key it
// pressed is up again when its step ends.
TEST(KeyboardActions, NoKeyStaysHeldDown) {
    for (const bool stopDuringHold : {false, true}) {
        SimFixture f;
        if (stopDuringHold) f.sim.onPump = [](SimPlatform&) { SetFlag(StopRequest); };
        EventList list;
        for (auto step : {Keystroke({27, 65}, true, true), Input(u"Hi! ", false),
                          Input(u"\u00C9t\u00E9 A", false), Input(u"pasted", true)}) {
            list.Append(step);
        }
        f.Begin();
        RunEventList(f.player, list, nullptr, 1);
        EXPECT_EQ(EventsOf(f.trace, "clipboard").size(), stopDuringHold ? 0u : 1u);
        EXPECT_TRUE(f.sim.HeldKeys().empty()) << "stopped: " << stopDuringHold;
        SetFlag(StopRequest, 0);
    }
}

}  // namespace
}  // namespace ovrix
