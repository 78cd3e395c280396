// The mouse, keyboard, system and file steps: their records as the loader
// reads them, the bytes they save back, their defaults and their text forms.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <typeinfo>
#include <vector>

#include "actions/KeyName.h"
#include "actions/KeyboardSteps.h"
#include "actions/MouseSteps.h"
#include "actions/SystemSteps.h"
#include "builder/ImageBuilder.h"
#include "container/Tags.h"
#include "container/Text.h"
#include "script/ScriptStream.h"
#include "script/StepFactory.h"
#include "StepTestSupport.h"

namespace ovrix {
namespace {




void WriteExpr(RecordBuffer& buffer, uint32_t tag, const StoredExpr& expr) { expr.Save(buffer, tag); }

// ---------------------------------------------------------------------------
// Round trip through a whole stream, over every class of the family.

struct StepSample {
    const char* label;
    std::function<Ref<Event>()> make;
};

template <class T>
StepSample Sample(const char* label, std::function<void(T&)> fill) {
    return {label, [label, fill] {
                auto step = MakeRef<T>();
                step->name = u"step " + Widen(label);
                step->delay = 1234;
                fill(*step);
                return Ref<Event>(step);
            }};
}

std::vector<StepSample> Samples() {
    return {
        Sample<MouseEvent>("MouseWheel", [](auto& s) { s.action = 7; s.wheelAmount = 120; }),
        Sample<MouseClickEvent>("MouseClick", [](auto& s) { s.button = 2; s.clickKind = 1; }),
        Sample<MoveMouseEvent>("MoveMouse",
                               [](auto& s) { s.xOffset = NumberExpr(-3); s.yOffset = TextExpr(u"12"); }),
        Sample<DragMouseEvent>("DragMouse", [](auto& s) { s.xOffset = NumberExpr(40); s.yOffset = NumberExpr(0); }),
        Sample<MousePosEvent>("MousePos", [](auto& s) { s.x = NumberExpr(960); s.y = NumberExpr(540); }),
        Sample<PosRandomEvent>("PosRandom", [](auto& s) { s.left = -20; s.top = 5; s.right = 300; s.bottom = 6; }),
        Sample<KeystrokeEvent>("Keystroke",
                               [](auto& s) { s.ctrl = 1; s.alt = 1; s.keyCount = 2; s.keys[0] = 46; s.keys[1] = 65; }),
        Sample<KeyDownEvent>("KeyDown", [](auto& s) { s.virtualKey = 0x141; }),
        Sample<KeyUpEvent>("KeyUp", [](auto& s) { s.virtualKey = 13; }),
        Sample<OpenFileEvent>("OpenFile",
                              [](auto& s) {
                                  s.file = u"C:\\Tools\\app.exe";
                                  s.advanced = 1;
                                  s.parameters = u"/q";
                                  s.windowStyle = u"max";
                              }),
        Sample<OpenWebEvent>("OpenWeb", [](auto& s) { s.address = u"http://example.org/"; }),
        Sample<CopyFileEvent>("CopyFile", [](auto& s) { s.source = u"a.txt"; s.destination = u"b\\a.txt"; }),
        Sample<DelFileEvent>("DelFile", [](auto& s) { s.file = u"old.log"; }),
        Sample<MsgBoxEvent>("MsgBox", [](auto& s) { s.message = u"Done\r\nBye \u00e9"; }),
        Sample<ShutdownEvent>("Shutdown", [](auto& s) { s.action = u"Reboot"; s.showCountdown = 0; s.seconds = 9; }),
        Sample<WaitEvent>("Wait", [](auto& s) { s.milliseconds = 5'000'000'000; s.random = 1; }),
        Sample<CommentEvent>("Comment", [](auto& s) { s.comment = u"note"; }),
    };
}

class InputStepsRoundTrip : public testing::TestWithParam<StepSample> {};

TEST_P(InputStepsRoundTrip, LoadOfSaveIsEqualAndSavesTheSameBytes) {
    const Ref<Event> original = GetParam().make();
    EventList list;
    list.Append(original);
    const std::vector<uint8_t> bytes = StreamBytes(list, kNewestStreamVersion);

    EventList loaded;
    ASSERT_TRUE(LoadSteps(RegionOf(bytes), loaded));
    ASSERT_EQ(loaded.Count(), 1u);
    const Event& step = *loaded.At(0);
    EXPECT_EQ(typeid(step), typeid(*original));
    EXPECT_TRUE(step.IsEqual(*original));
    EXPECT_TRUE(original->IsEqual(step));
    EXPECT_EQ(Text(step), Text(*original));
    EXPECT_EQ(StreamBytes(loaded, kNewestStreamVersion), bytes);

    // A clone is equal; the disabled flag is not compared, the delay is.
    const Ref<Event> copy = step.Clone();
    EXPECT_TRUE(copy->IsEqual(step));
    copy->disabled = 1;
    EXPECT_TRUE(copy->IsEqual(step));
    copy->delay = 0;
    EXPECT_FALSE(copy->IsEqual(step));

    // A default step of the same class differs in its fields.
    const Ref<Event> fresh = CreateEvent(original->TypeId());
    ASSERT_TRUE(fresh);
    fresh->name = original->name;
    fresh->delay = original->delay;
    EXPECT_FALSE(fresh->IsEqual(*original));
}

INSTANTIATE_TEST_SUITE_P(AllClasses, InputStepsRoundTrip, testing::ValuesIn(Samples()),
                         [](const testing::TestParamInfo<StepSample>& info) { return std::string(info.param.label); });

// The loader never yields an InputTextEvent, so it is loaded by hand here.
TEST(InputSteps, InputTextEventLoadsAndSavesItsRecords) {
    const Ref<Event> made = CreateEvent(16);
    auto* step = dynamic_cast<InputTextEvent*>(made.Get());
    ASSERT_NE(step, nullptr);
    EXPECT_EQ(step->paste, 1u);

    EventList owner;
    RecordBuffer record;
    WriteString(record, MakeTag("TEXT"), u"one\r\ntwo\nthree");
    WriteU32(record, MakeTag("PST"), 0);
    step->Load(record.AsRegion(), owner);
    EXPECT_EQ(step->text, u"one\r\ntwo\nthree");
    EXPECT_EQ(step->paste, 0u);
    EXPECT_EQ(Text(*step), "Input \"one two\nthree\"");

    InputTextEvent again;
    const auto bytes = FieldBytes(*step);
    again.Load(RegionOf(bytes), owner);
    EXPECT_TRUE(again.IsEqual(*step));
    EXPECT_EQ(FieldBytes(again), bytes);

    again.Load(Region{}, owner);  // nothing stored: the defaults
    EXPECT_EQ(again.text, u"");
    EXPECT_EQ(again.paste, 1u);
}

// ---------------------------------------------------------------------------
// Defaults for missing records.

TEST(InputSteps, MissingRecordsLoadTheDefaults) {
    auto mouse = LoadAs<MouseEvent>();
    EXPECT_EQ(mouse->action, 0u);
    EXPECT_EQ(mouse->wheelAmount, 100u);

    auto shutdown = LoadAs<ShutdownEvent>();
    EXPECT_EQ(shutdown->action, u"Shutdown");
    EXPECT_EQ(shutdown->showCountdown, 1u);
    EXPECT_EQ(shutdown->seconds, 60u);

    auto wait = LoadAs<WaitEvent>();
    EXPECT_EQ(wait->milliseconds, 1000);
    EXPECT_EQ(wait->random, 0u);

    auto keys = LoadAs<KeystrokeEvent>();
    EXPECT_EQ(keys->keyCount, 0u);
    EXPECT_EQ(Text(*keys), "Keystroke \"\"");

    auto open = LoadAs<OpenFileEvent>();
    EXPECT_EQ(open->file, u"");
    EXPECT_EQ(open->advanced, 0u);

    // A missing rectangle edge reads as 1, and the rectangle then grows.
    auto random = LoadAs<PosRandomEvent>();
    EXPECT_EQ(random->left, 1);
    EXPECT_EQ(random->top, 1);
    EXPECT_EQ(random->right, 11);
    EXPECT_EQ(random->bottom, 11);
    const PosRandomEvent made;
    EXPECT_EQ(made.right, 0);
}

TEST(InputSteps, PosRandomWidensAnEmptyOrInvertedRectangle) {
    auto step = LoadAs<PosRandomEvent>([](RecordBuffer& r) {
        WriteU32(r, MakeTag("RGNL"), 100);
        WriteU32(r, MakeTag("RGNT"), static_cast<uint32_t>(-50));
        WriteU32(r, MakeTag("RGNR"), 100);
        WriteU32(r, MakeTag("RGNB"), static_cast<uint32_t>(-80));
    });
    EXPECT_EQ(step->right, 110);
    EXPECT_EQ(step->bottom, -40);
    EXPECT_EQ(Text(*step), "Random Mouse Position in region [100,-50 10x10]");

    auto kept = LoadAs<PosRandomEvent>([](RecordBuffer& r) {
        WriteU32(r, MakeTag("RGNL"), 10);
        WriteU32(r, MakeTag("RGNT"), 20);
        WriteU32(r, MakeTag("RGNR"), 11);
        WriteU32(r, MakeTag("RGNB"), 50);
    });
    EXPECT_EQ(Text(*kept), "Random Mouse Position in region [10,20 1x30]");
}

TEST(InputSteps, WaitReadsEightOrFourByteTimesAndSavesEight) {
    auto wide = LoadAs<WaitEvent>([](RecordBuffer& r) { Write64(r, MakeTag("WAIT"), 7'000'000'000); });
    EXPECT_EQ(wide->milliseconds, 7'000'000'000);

    auto old = LoadAs<WaitEvent>([](RecordBuffer& r) { WriteU32(r, MakeTag("WAIT"), 3000); });
    EXPECT_EQ(old->milliseconds, 3000);
    const auto bytes = FieldBytes(*old);
    const auto wait = FindRecord(RegionOf(bytes), MakeTag("WAIT"));
    ASSERT_TRUE(wait);
    EXPECT_EQ(wait->size, 8u);
    EXPECT_EQ(LoadI64(wait->base), 3000);

    auto odd = LoadAs<WaitEvent>([](RecordBuffer& r) {
        const uint8_t two[2] = {1, 2};
        WriteRecord(r, MakeTag("WAIT"), two, 2);
    });
    EXPECT_EQ(odd->milliseconds, 1000);
}

// ---------------------------------------------------------------------------
// Coordinate steps: expressions, the older integer form, half-stored pairs.

TEST(InputSteps, CoordinateStepsReadTheOlderIntegerForm) {
    auto move = LoadAs<MoveMouseEvent>([](RecordBuffer& r) {
        WriteU32(r, MakeTag("OFSX"), static_cast<uint32_t>(-5));
        WriteU32(r, MakeTag("OFSY"), 7);
    });
    EXPECT_EQ(Text(*move), "Call MouseRelativeMove(-5, 7)");

    auto drag = LoadAs<DragMouseEvent>();  // nothing stored: offsets 0
    EXPECT_EQ(Text(*drag), "Call MouseRelativeDrag(0, 0)");

    auto pos = LoadAs<MousePosEvent>([](RecordBuffer& r) {
        WriteU32(r, MakeTag("X"), 640);
        WriteU32(r, MakeTag("Y"), 480);
    });
    EXPECT_EQ(Text(*pos), "Call SetMousePosition(640, 480)");

    // Saved again, the older form becomes the expression form.
    const auto bytes = FieldBytes(*pos);
    EXPECT_TRUE(FindRecord(RegionOf(bytes), MakeTag("XPOS")));
    EXPECT_FALSE(FindRecord(RegionOf(bytes), MakeTag("X")));
    EventList owner;
    MousePosEvent again;
    again.Load(RegionOf(bytes), owner);
    EXPECT_EQ(Text(again), "Call SetMousePosition(640, 480)");
    EXPECT_TRUE(again.FieldsEqual(*pos));
}

TEST(InputSteps, CoordinateStepsKeepStoredExpressions) {
    const StoredExpr x = NumberExpr(2.5);
    const StoredExpr y = TextExpr(u"abc");
    auto pos = LoadAs<MousePosEvent>([&](RecordBuffer& r) {
        WriteExpr(r, MakeTag("XPOS"), x);
        WriteExpr(r, MakeTag("YPOS"), y);
        WriteU32(r, MakeTag("X"), 1);  // ignored when the expression form is there
    });
    EXPECT_EQ(pos->x, x);
    EXPECT_EQ(pos->y, y);
    EXPECT_EQ(Text(*pos), "Call SetMousePosition(2.5, \"abc\")");
}

TEST(InputSteps, HalfStoredCoordinatePairLoadsAndSavesNothing) {
    auto move = LoadAs<MoveMouseEvent>([](RecordBuffer& r) {
        WriteExpr(r, MakeTag("XOFS"), NumberExpr(4));
        WriteU32(r, MakeTag("OFSY"), 9);
    });
    EXPECT_FALSE(move->xOffset.Present());
    EXPECT_FALSE(move->yOffset.Present());
    EXPECT_EQ(Text(*move), "Call MouseRelativeMove(, )");
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
    auto fits = keystroke(2, {65, 66});
    EXPECT_EQ(fits->keys[0], 65);
    EXPECT_EQ(fits->keys[1], 66);
    EXPECT_EQ(Text(*fits), "Keystroke \"A + B\"");

    auto shorter = keystroke(3, {65, 66});  // a record shorter than the count still loads
    EXPECT_EQ(shorter->keys[1], 66);

    auto longer = keystroke(1, {65, 66});
    EXPECT_EQ(longer->keyCount, 1u);
    EXPECT_EQ(longer->keys[0], 0);

    auto full = keystroke(16, std::vector<uint8_t>(16, 65));
    EXPECT_EQ(full->keyCount, 16u);
    EXPECT_EQ(full->keys[0], 0);
    EXPECT_EQ(FieldBytes(*full), FieldBytes(*full->Clone()));

    auto fifteen = keystroke(15, std::vector<uint8_t>(15, 90));
    EXPECT_EQ(fifteen->keys[14], 90);
}

TEST(InputSteps, KeystrokeModifiersAreTheLowByteAndKeysSavedOnlyWhenCounted) {
    auto step = LoadAs<KeystrokeEvent>([](RecordBuffer& r) {
        WriteU32(r, MakeTag("CTRL"), 0x100);  // low byte 0: not set
        WriteU32(r, MakeTag("SHFT"), 1);
        WriteU32(r, MakeTag("WIN"), 0x101);
        WriteU32(r, MakeTag("NKEY"), 1);
        const uint8_t esc = 27;
        WriteRecord(r, MakeTag("KEY"), &esc, 1);
    });
    EXPECT_EQ(step->ctrl, 0);
    EXPECT_EQ(step->win, 1);
    EXPECT_EQ(Text(*step), "Keystroke \"Shift + Win + Esc\"");

    KeystrokeEvent none;
    none.ctrl = none.shift = none.alt = 1;
    EXPECT_EQ(Text(none), "Keystroke \"Ctrl + Shift + Alt\"");
    EXPECT_FALSE(FindRecord(RegionOf(FieldBytes(none)), MakeTag("KEY")));

    // Key bytes past the count are not compared.
    KeystrokeEvent a, b;
    a.keyCount = b.keyCount = 1;
    a.keys = {27, 1};
    b.keys = {27, 2};
    EXPECT_TRUE(a.IsEqual(b));
    b.keys[0] = 28;
    EXPECT_FALSE(a.IsEqual(b));
}

TEST(InputSteps, KeyNamesFollowTheTable) {
    const std::vector<std::pair<uint32_t, std::string>> names = {
        {8, "Backspace"},  {13, "Enter"},   {16, "Shift"},      {161, "Shift"},   {163, "Ctrl"},
        {164, "Alt"},      {20, "Caps Lock"}, {27, "Esc"},      {33, "Page Up"},  {40, "Down"},
        {44, "Print Screen"}, {92, "Win"},  {93, "Application"}, {96, "NUMPAD0"}, {105, "NUMPAD9"},
        {144, "Num Lock"}, {186, ";"},      {192, "`"},         {219, "["},       {220, ""},
        {222, "'"},        {48, "0"},       {57, "9"},          {65, "A"},        {90, "Z"},
        {112, "F1"},       {121, "F10"},    {123, "F12"},       {124, ""},        {0, ""},
        {47, ""},          {91 + 256, ""},  {0x141, ""},
    };
    for (const auto& [code, name] : names) EXPECT_EQ(ToUtf8(KeyName(code)), name) << code;
}

TEST(InputSteps, KeyDownAndUpTextsNameTheKey) {
    auto down = LoadAs<KeyDownEvent>([](RecordBuffer& r) { WriteU32(r, MakeTag("KEY"), 37); });
    EXPECT_EQ(Text(*down), "Key Down \"Left\"");
    auto up = LoadAs<KeyUpEvent>([](RecordBuffer& r) { WriteU32(r, MakeTag("KEY"), 115); });
    EXPECT_EQ(Text(*up), "Key Up \"F4\"");
    EXPECT_EQ(Text(KeyUpEvent{}), "Key Up \"\"");
}

// ---------------------------------------------------------------------------
// Text forms where a branch or a format could go wrong.

TEST(InputSteps, MouseTexts) {
    const char* const buttons[] = {"",
                                   "Mouse Left Down",
                                   "Mouse Left Up",
                                   "Mouse Right Down",
                                   "Mouse Right Up",
                                   "Mouse Middle Down",
                                   "Mouse Middle Up",
                                   "Mouse Scroll Down 120",
                                   "Mouse Scroll Up 120",
                                   ""};
    MouseEvent mouse;
    mouse.wheelAmount = 120;
    for (uint32_t action = 0; action <= 9; ++action) {
        mouse.action = action;
        EXPECT_EQ(Text(mouse), buttons[action]) << action;
    }
    mouse.action = MouseEvent::kWheelDown;
    mouse.wheelAmount = 0xFFFFFFFF;  // shown as a signed word
    EXPECT_EQ(Text(mouse), "Mouse Scroll Down -1");

    const auto click = [](uint32_t button, uint32_t kind) {
        MouseClickEvent step;
        step.button = button;
        step.clickKind = kind;
        return Text(step);
    };
    EXPECT_EQ(click(0, 0), "Mouse Left Click");
    EXPECT_EQ(click(1, 1), "Mouse Middle Double Click");
    EXPECT_EQ(click(2, 0), "Mouse Right Click");
    EXPECT_EQ(click(3, 1), "Mouse Double Click");
    EXPECT_EQ(click(0, 2), "Mouse Left ");
}

TEST(InputSteps, SystemTexts) {
    OpenFileEvent open;
    open.file = u"report.doc";
    open.parameters = u"/p";
    EXPECT_EQ(Text(open), "Open report.doc");  // parameters count only in the advanced form
    open.advanced = 1;
    EXPECT_EQ(Text(open), "Open \"report.doc\" /p");
    open.parameters.clear();
    EXPECT_EQ(Text(open), "Open report.doc");

    MsgBoxEvent box;
    box.message = u"Line 1\r\nLine 2\r\n\r\nend\n";
    EXPECT_EQ(Text(box), "MsgBox \"Line 1 Line 2  end\n\"");

    ShutdownEvent shutdown;
    EXPECT_EQ(Text(shutdown), "Shutdown the computer in 60 seconds");
    shutdown.action = u"Logoff";
    shutdown.showCountdown = 0;
    EXPECT_EQ(Text(shutdown), "Logoff the computer");

    WaitEvent wait;
    wait.milliseconds = 5'000'000'000;
    EXPECT_EQ(Text(wait), "Delay 5000000000 ms");
    wait.random = 2;
    EXPECT_EQ(Text(wait), "Delay 0 to 5000000000 ms");

    CopyFileEvent copy;
    copy.source = u"a";
    copy.destination = u"b";
    EXPECT_EQ(Text(copy), "Copy \"a\" to \"b\"");
}

// ---------------------------------------------------------------------------
// Equality: file paths ignore case, every other text keeps it.

TEST(InputSteps, FilePathsCompareWithoutCase) {
    OpenFileEvent a, b;
    a.file = u"C:\\Data\\File.TXT";
    b.file = u"c:\\data\\file.txt";
    EXPECT_TRUE(a.IsEqual(b));
    a.parameters = u"X";
    b.parameters = u"x";
    EXPECT_FALSE(a.IsEqual(b));

    CopyFileEvent c, d;
    c.source = u"A.txt";
    d.source = u"a.TXT";
    c.destination = u"B";
    d.destination = u"b";
    EXPECT_TRUE(c.IsEqual(d));

    DelFileEvent e, f;
    e.file = u"A.txt";
    f.file = u"a.txt";
    EXPECT_FALSE(e.IsEqual(f));

    MsgBoxEvent g, h;
    g.message = u"Hi";
    h.message = u"hi";
    EXPECT_FALSE(g.IsEqual(h));

    // The step header is compared first: names keep case.
    a.parameters = b.parameters;
    b.name = u"Open";
    EXPECT_FALSE(a.IsEqual(b));
}

}  // namespace
}  // namespace ovrix
