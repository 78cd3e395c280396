// The keyboard steps, text typing and pasting, and the keyboard built-in
// functions played on the simulated desktop (a US layout): the order and
// flags of key events, the hold of a keystroke, both typing paths and the
// clipboard.
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

Ref<Event> Keystroke(std::vector<uint8_t> keys, bool ctrl, bool shift, uint32_t delay = 0) {
    auto step = Step<KeystrokeEvent>(delay);
    step->ctrl = ctrl;
    step->shift = shift;
    step->keyCount = static_cast<uint32_t>(keys.size());
    std::copy(keys.begin(), keys.end(), step->keys.begin());
    return step;
}

template <class T>
Ref<Event> Key(uint32_t code, uint32_t delay = 0) {
    auto step = Step<T>(delay);
    step->virtualKey = code;
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

TEST(KeyboardActions, KeystrokesHoldTheirKeys50MsAndReleaseModifiersInPressOrder) {
    // Esc and the modifiers carry no extended flag; the keys come up in the
    // order they went down, then Ctrl before Shift.
    EXPECT_EQ(PlayInput({Keystroke({27}, true, true)}),
              (Lines{"0 key 17 29 0x0", "0 key 16 42 0x0", "0 key 27 1 0x0", "50 key 27 1 0x2", "50 key 17 29 0x2",
                     "50 key 16 42 0x2"}));
    EXPECT_EQ(PlayInput({Keystroke({65, 66}, false, false)}),
              (Lines{"0 key 65 30 0x0", "0 key 66 48 0x0", "50 key 65 30 0x2", "50 key 66 48 0x2"}));
}

TEST(KeyboardActions, SingleKeysSendTheLowByteAndWaitWithoutStatus) {
    const Lines trace = PlayTrace({Key<KeyDownEvent>(37, 100), Key<KeyUpEvent>(37), Key<KeyDownEvent>(0x141)});
    EXPECT_EQ(InputOf(trace), (Lines{"0 key 37 75 0x1", "100 key 37 75 0x3", "110 key 65 30 0x0"}));
    EXPECT_TRUE(EventsOf(trace, "line status \"Step Complete\"").empty());
}

TEST(KeyboardActions, AsciiTextTypesLettersAsKeysAndTheRestAsAltCodes) {
    EXPECT_EQ(Typed(u"Hi!"), (Lines{"key 16 42 0x0", "key 72 35 0x0", "key 72 35 0x2", "key 16 42 0x2",
                                    "key 73 23 0x0", "key 73 23 0x2", "key 18 56 0x0", "key 99 81 0x0",
                                    "key 99 81 0x2", "key 99 81 0x0", "key 99 81 0x2", "key 18 56 0x2"}));
    // One Enter for CR LF; Caps Lock is not looked at; a tab is Alt + 9.
    EXPECT_EQ(Typed(u"a\r\n\t", [](SimPlatform& sim) { sim.capsLock = true; }),
              (Lines{"key 65 30 0x0", "key 65 30 0x2", "key 13 28 0x0", "key 13 28 0x2", "key 18 56 0x0",
                     "key 105 73 0x0", "key 105 73 0x2", "key 18 56 0x2"}));
    // DEL takes the next byte with it: 127 x 256 + 'z' = 32634.
    Lines del = Typed(u"\x7Fz");
    ASSERT_EQ(del.size(), 12u);
    EXPECT_EQ(del[1], "key 99 81 0x0");   // 3
    EXPECT_EQ(del[9], "key 100 75 0x0");  // 4
}

TEST(KeyboardActions, AnyUnitAbove127SendsTheWholeTextAsInputRecords) {
    // Layout keys with Shift as the layout says, Caps Lock inverting it for
    // letters only; units without a key or above 255 as Unicode records.
    EXPECT_EQ(Typed(u"aB!\u00E9\u0416"),
              (Lines{"input 65 0 0x0", "input 65 0 0x2", "input 16 0 0x0", "input 66 0 0x0", "input 66 0 0x2",
                     "input 16 0 0x2", "input 16 0 0x0", "input 49 0 0x0", "input 49 0 0x2", "input 16 0 0x2",
                     "input 0 233 0x4", "input 0 233 0x6", "input 0 1046 0x4", "input 0 1046 0x6"}));
    EXPECT_EQ(Typed(u"aB!\u00E9", [](SimPlatform& sim) { sim.capsLock = true; }),
              (Lines{"input 16 0 0x0", "input 65 0 0x0", "input 65 0 0x2", "input 16 0 0x2", "input 66 0 0x0",
                     "input 66 0 0x2", "input 16 0 0x0", "input 49 0 0x0", "input 49 0 0x2", "input 16 0 0x2",
                     "input 0 233 0x4", "input 0 233 0x6"}));
    // The carriage return is skipped; the line feed goes to the layout.
    EXPECT_EQ(Typed(u"\u00E9\r\n"),
              (Lines{"input 0 233 0x4", "input 0 233 0x6", "input 13 0 0x0", "input 13 0 0x2"}));
}

TEST(KeyboardActions, PastingAndEmptyTexts) {
    // A refused clipboard still gets Ctrl+V; the delay shows no status.
    const Lines trace = PlayTrace({Input(u"x\r\ny", true, 100), Input(u"", true), Input(u"", false),
                                   Input(std::u16string(u"\0z", 2), true)},
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

// The built-in functions press keys and type text as the steps do; IsKeyDown
// sees what the script holds.
TEST(KeyboardActions, BuiltInFunctionsPressKeysAndTypeText) {
    using testing_builtins::Call;
    using testing_builtins::Num;
    using testing_builtins::Text;
    SimFixture f;
    PlayerBuiltinHost host(f.player);
    Call(u"KeyDown", {Num(0x141)});
    Call(u"KeyUp", {});  // the default key: Ctrl
    testing_builtins::CallBare(u"TypeText", {Text(u"ab")});  // one argument: nothing
    Call(u"TypeText", {Text(u"ab"), MakeItem<ExprItem_Bool>(false)});
    Call(u"TypeText", {Text(u"c")});  // pasted by default
    EXPECT_EQ(Untimed(InputOf(f.trace)),
              (Lines{"key 65 30 0x0", "key 17 29 0x2", "key 65 30 0x0", "key 65 30 0x2", "key 66 48 0x0",
                     "key 66 48 0x2", "clipboard \"c\"", "key 17 29 0x0", "key 86 47 0x0", "key 86 47 0x2",
                     "key 17 29 0x2"}));

    Call(u"KeyDown", {Num(0x110)});  // the low byte: Shift
    EXPECT_TRUE(AsTruth(Call(u"IsKeyDown", {Num(16)})));
    EXPECT_FALSE(AsTruth(Call(u"IsKeyDown", {})));  // the default key: Ctrl
    Call(u"KeyUp", {Num(16)});
    EXPECT_FALSE(AsTruth(Call(u"IsKeyDown", {Num(16)})));
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
