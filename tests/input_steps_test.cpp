// The mouse, keyboard, system and file steps: their records as the loader
// reads them, the bytes they save back, their defaults and their text forms.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "actions/KeyName.h"
#include "actions/KeyboardSteps.h"
#include "actions/MouseSteps.h"
#include "actions/SystemSteps.h"
#include "builder/ImageBuilder.h"
#include "container/Tags.h"
#include "container/Text.h"
#include "script/ScriptStream.h"
#include "script/StepKinds.h"
#include "StepTestSupport.h"

namespace ovrix {
namespace {

void WriteExpr(RecordBuffer& buffer, uint32_t tag, const StoredExpr& expr) { expr.Save(buffer, tag); }

// The loader never yields an InputTextEvent, so it is loaded by hand here.
TEST(InputSteps, InputTextEventLoadsAndSavesItsRecords) {
    InputTextEvent step;
    EventList owner;
    step.Load(Region{}, owner);  // nothing stored: paste is on
    EXPECT_EQ(step.paste, 1u);

    RecordBuffer record;
    WriteString(record, MakeTag("TEXT"), u"one\r\ntwo\nthree");
    WriteU32(record, MakeTag("PST"), 0);
    step.Load(record.AsRegion(), owner);
    EXPECT_EQ(step.paste, 0u);
    EXPECT_EQ(Text(step), "Input \"one two\nthree\"");

    InputTextEvent again;
    const auto bytes = FieldBytes(step);
    again.Load(RegionOf(bytes), owner);
    EXPECT_TRUE(again.IsEqual(step));
    EXPECT_EQ(FieldBytes(again), bytes);
}

TEST(InputSteps, MissingRecordsLoadTheDefaults) {
    EXPECT_EQ(LoadAs<MouseEvent>()->wheelAmount, 100u);
    EXPECT_EQ(LoadAs<WaitEvent>()->milliseconds, 1000);
    // A missing rectangle edge reads as 1, and the rectangle then grows (its
    // text is among the text forms); a step made in code starts at 0.
    EXPECT_EQ(PosRandomEvent().right, 0);
}

TEST(InputSteps, WaitReadsEightOrFourByteTimesAndSavesEight) {
    auto wide = LoadAs<WaitEvent>([](RecordBuffer& r) { Write64(r, MakeTag("WAIT"), 7'000'000'000); });
    EXPECT_EQ(wide->milliseconds, 7'000'000'000);

    auto old = LoadAs<WaitEvent>([](RecordBuffer& r) { WriteU32(r, MakeTag("WAIT"), 3000); });
    const auto bytes = FieldBytes(*old);
    const auto wait = FindRecord(RegionOf(bytes), MakeTag("WAIT"));
    ASSERT_TRUE(wait);
    EXPECT_EQ(wait->size, 8u);
    EXPECT_EQ(LoadI64(wait->base), 3000);

    auto odd = LoadAs<WaitEvent>([](RecordBuffer& r) { WriteRecord(r, MakeTag("WAIT"), "\x01\x02", 2); });
    EXPECT_EQ(odd->milliseconds, 1000);
}

// ---------------------------------------------------------------------------
// Coordinate steps: expressions, the older integer form, half-stored pairs.

TEST(InputSteps, CoordinateStepsReadTheOlderIntegerFormAndSaveExpressions) {
    auto move = LoadAs<MoveMouseEvent>([](RecordBuffer& r) {
        WriteU32(r, MakeTag("OFSX"), static_cast<uint32_t>(-5));
        WriteU32(r, MakeTag("OFSY"), 7);
    });
    EXPECT_EQ(Text(*move), "Call MouseRelativeMove(-5, 7)");

    auto pos = LoadAs<MousePosEvent>([](RecordBuffer& r) {
        WriteU32(r, MakeTag("X"), 640);
        WriteU32(r, MakeTag("Y"), 480);
    });
    const auto bytes = FieldBytes(*pos);
    EXPECT_TRUE(FindRecord(RegionOf(bytes), MakeTag("XPOS")));
    EXPECT_FALSE(FindRecord(RegionOf(bytes), MakeTag("X")));
    EventList owner;
    MousePosEvent again;
    again.Load(RegionOf(bytes), owner);
    EXPECT_EQ(Text(again), "Call SetMousePosition(640, 480)");
    EXPECT_TRUE(again.Fields() == pos->Fields());
}

TEST(InputSteps, StoredExpressionsWinAndAHalfStoredPairIsDropped) {
    auto pos = LoadAs<MousePosEvent>([&](RecordBuffer& r) {
        WriteExpr(r, MakeTag("XPOS"), NumberExpr(2.5));
        WriteExpr(r, MakeTag("YPOS"), TextExpr(u"abc"));
        WriteU32(r, MakeTag("X"), 1);  // ignored when the expression form is there
    });
    EXPECT_EQ(Text(*pos), "Call SetMousePosition(2.5, \"abc\")");

    auto move = LoadAs<MoveMouseEvent>([](RecordBuffer& r) {
        WriteExpr(r, MakeTag("XOFS"), NumberExpr(4));
        WriteU32(r, MakeTag("OFSY"), 9);
    });
    EXPECT_FALSE(move->x.Present());
    EXPECT_FALSE(move->y.Present());
    EXPECT_TRUE(FieldBytes(*move).empty());
    MousePosEvent half;
    half.x = NumberExpr(1);
    EXPECT_TRUE(FieldBytes(half).empty());
}

// ---------------------------------------------------------------------------
// Keyboard steps.

TEST(InputSteps, KeystrokeKeyBytesLoadOnlyWithinTheCount) {
    const auto keystroke = [](uint32_t count, std::vector<uint8_t> keys) {
        return LoadAs<KeystrokeEvent>([=](RecordBuffer& r) {
            WriteU32(r, MakeTag("NKEY"), count);
            WriteRecord(r, MakeTag("KEY"), keys.data(), static_cast<uint32_t>(keys.size()));
        });
    };
    EXPECT_EQ(Text(*keystroke(2, {65, 66})), "Keystroke \"A + B\"");
    EXPECT_EQ(keystroke(3, {65, 66})->keys[1], 66);  // a record shorter than the count still loads
    EXPECT_EQ(keystroke(1, {65, 66})->keys[0], 0);   // longer than the count: not loaded
    EXPECT_EQ(keystroke(15, std::vector<uint8_t>(15, 90))->keys[14], 90);
    auto full = keystroke(16, std::vector<uint8_t>(16, 65));
    EXPECT_EQ(full->keys[0], 0);
    EXPECT_EQ(FieldBytes(*full), FieldBytes(*full->Clone()));
}

TEST(InputSteps, KeystrokeModifiersAreTheLowByteAndKeysSavedOnlyWhenCounted) {
    auto step = LoadAs<KeystrokeEvent>([](RecordBuffer& r) {
        WriteU32(r, MakeTag("CTRL"), 0x100);  // low byte 0: not set
        WriteU32(r, MakeTag("SHFT"), 1);
        WriteU32(r, MakeTag("WIN"), 0x101);
        WriteU32(r, MakeTag("NKEY"), 1);
        WriteRecord(r, MakeTag("KEY"), "\x1B", 1);
    });
    EXPECT_EQ(Text(*step), "Keystroke \"Shift + Win + Esc\"");

    // Without a counted key no key record is written.
    EXPECT_FALSE(FindRecord(RegionOf(FieldBytes(*Made<KeystrokeEvent>([](auto& s) { s.ctrl = 1; }))), MakeTag("KEY")));

    // Key bytes past the count are not compared.
    KeystrokeEvent a, b;
    a.keyCount = b.keyCount = 1;
    a.keys = {27, 1};
    b.keys = {27, 2};
    EXPECT_TRUE(a.IsEqual(b));
    b.keys[0] = 28;
    EXPECT_FALSE(a.IsEqual(b));
}

TEST(InputSteps, KeyNamesAtTheEdgesOfTheTable) {
    const std::vector<std::pair<uint32_t, std::string>> names = {
        {161, "Shift"}, {96, "NUMPAD0"}, {220, ""},      {48, "0"},  {90, "Z"},
        {123, "F12"},   {124, ""},       {0, ""},        {47, ""},   {91 + 256, ""},
    };
    for (const auto& [code, name] : names) EXPECT_EQ(ToUtf8(KeyName(code)), name) << code;
}

// ---------------------------------------------------------------------------
// Text forms where a branch or a format could go wrong.

Ref<Event> LoadedRegion(int32_t l, int32_t t, int32_t r, int32_t b) {
    return LoadAs<PosRandomEvent>([=](RecordBuffer& rec) {
        WriteU32(rec, MakeTag("RGNL"), static_cast<uint32_t>(l));
        WriteU32(rec, MakeTag("RGNT"), static_cast<uint32_t>(t));
        WriteU32(rec, MakeTag("RGNR"), static_cast<uint32_t>(r));
        WriteU32(rec, MakeTag("RGNB"), static_cast<uint32_t>(b));
    });
}

Ref<Event> Mouse(uint32_t action, uint32_t amount) {
    return Made<MouseEvent>([=](auto& s) { s.action = action, s.wheelAmount = amount; });
}

Ref<Event> Click(uint32_t button, uint32_t kind) {
    return Made<MouseClickEvent>([=](auto& s) { s.button = button, s.clickKind = kind; });
}

Ref<Event> Open(uint32_t advanced, std::u16string parameters) {
    return Made<OpenFileEvent>([=](auto& s) { s.file = u"report.doc", s.advanced = advanced, s.parameters = parameters; });
}

TEST(InputSteps, TextForms) {
    const std::pair<Ref<Event>, const char*> cases[] = {
        {Mouse(0, 120), ""},
        {Mouse(4, 120), "Mouse Right Up"},
        {Mouse(5, 120), "Mouse Middle Down"},
        {Mouse(8, 120), "Mouse Scroll Up 120"},
        {Mouse(9, 120), ""},
        {Mouse(MouseEvent::kWheelDown, 0xFFFFFFFF), "Mouse Scroll Down -1"},  // a signed word
        {Click(1, 1), "Mouse Middle Double Click"},
        {Click(3, 1), "Mouse Double Click"},
        {Click(0, 2), "Mouse Left "},
        // Only an empty or inverted side is widened, to 10.
        {LoadAs<PosRandomEvent>(), "Random Mouse Position in region [1,1 10x10]"},
        {LoadedRegion(100, -50, 100, -80), "Random Mouse Position in region [100,-50 10x10]"},
        {LoadedRegion(10, 20, 11, 50), "Random Mouse Position in region [10,20 1x30]"},
        {LoadAs<DragMouseEvent>(), "Call MouseRelativeDrag(0, 0)"},
        {LoadAs<KeyUpEvent>([](RecordBuffer& r) { WriteU32(r, MakeTag("KEY"), 115); }), "Key Up \"F4\""},
        {Made<KeystrokeEvent>([](auto& s) { s.ctrl = s.shift = s.alt = 1; }), "Keystroke \"Ctrl + Shift + Alt\""},
        // Parameters count only in the advanced form.
        {Open(0, u"/p"), "Open report.doc"},
        {Open(1, u"/p"), "Open \"report.doc\" /p"},
        {Open(1, u""), "Open report.doc"},
        {Made<MsgBoxEvent>([](auto& s) { s.message = u"Line 1\r\nLine 2\r\n\r\nend\n"; }),
         "MsgBox \"Line 1 Line 2  end\n\""},
        {LoadAs<ShutdownEvent>(), "Shutdown the computer in 60 seconds"},
        {Made<ShutdownEvent>([](auto& s) { s.showCountdown = 0; }), "Shutdown the computer"},
        {Made<WaitEvent>([](auto& s) { s.milliseconds = 5'000'000'000, s.random = 2; }), "Delay 0 to 5000000000 ms"},
    };
    for (const auto& c : cases) EXPECT_EQ(Text(*c.first), c.second) << "row " << &c - cases;
}

}  // namespace
}  // namespace ovrix
