// The Date and time family: calendar fields read in local time, the text
// readers, the constructors and the time-span fields. A fixed two-hour
// local offset shows that fields are local both ways.
#include <gtest/gtest.h>

#include <algorithm>

#include "builtins/FamilyTable.h"
#include "builtins_test_support.h"
#include "container/Text.h"
#include "expr/KindsValue.h"
#include "expr/LocalTime.h"

namespace ovrix {
namespace {

using namespace testing_builtins;

PExprItem At(int64_t seconds) { return MakeItem<ExprItem_DateTime>(seconds); }
PExprItem Span(int64_t seconds) { return MakeItem<ExprItem_TimeSpan>(seconds); }

bool PlusTwoHours(int64_t seconds, CivilTime& out) { return UtcCivilTime(seconds + 7200, out); }

int64_t SecondsOf(const PExprItem& value) {
    const auto* dateTime = ItemAs<ExprItem_DateTime>(value);
    return dateTime != nullptr ? dateTime->seconds : -1;
}

class BuiltinDates : public ::testing::Test {};

TEST_F(BuiltinDates, StringToDateTimeDefaultsToANoonIn2012) {
    // The default is a date-time (local time is UTC here), which a call
    // without an argument reads back.
    const PLX_FunArg* text = FindFunction(u"StringToDateTime")->GetArg(0);
    ASSERT_NE(text, nullptr);
    ASSERT_NE(text->makeDefault, nullptr);
    EXPECT_EQ(SecondsOf(text->makeDefault()), SecondsFromCivil(2012, 1, 1, 12, 0, 0));
    EXPECT_EQ(SecondsOf(Call(u"StringToDateTime", {})), SecondsFromCivil(2012, 1, 1, 12, 0, 0));
    // It is noon in the playing runtime's local time, whenever the
    // descriptors were built.
    SetLocalTimeFunction(PlusTwoHours);
    EXPECT_EQ(SecondsOf(Call(u"StringToDateTime", {})), SecondsFromCivil(2012, 1, 1, 10, 0, 0));
}

TEST_F(BuiltinDates, FieldsAreLocal) {
    SetLocalTimeFunction(PlusTwoHours);
    const PExprItem t = At(SecondsFromCivil(2008, 12, 31, 23, 30, 15));  // 2009-01-01 01:30:15 local
    const std::pair<const char16_t*, double> fields[] = {
        {u"DateTimeGetYear", 2009},   {u"DateTimeGetMonth", 1},   {u"DateTimeGetDay", 1},
        {u"DateTimeGetHour", 1},      {u"DateTimeGetMinute", 30}, {u"DateTimeGetSecond", 15},
        {u"<DateTime.GetYear>", 2009}, {u"DayOfWeek", 4},  // a Thursday
    };
    for (const auto& [key, value] : fields) EXPECT_EQ(AsNumber(Call(key, {t})), value) << ToUtf8(key);
    EXPECT_EQ(AsNumber(Call(u"DayOfWeek", {At(SecondsFromCivil(2026, 12, 6, 12, 0, 0))})), 0.0);  // Sunday
    // Not a date-time, or outside the conversion's range: no value.
    EXPECT_FALSE(Call(u"DateTimeGetYear", {Num(5)}));
    EXPECT_FALSE(Call(u"DateTimeGetYear", {At(-10000)}));

    EXPECT_EQ(SecondsOf(Call(u"Yesterday", {t})) - SecondsOf(t), -86400);
    EXPECT_FALSE(Call(u"Tomorrow", {Text(u"2008-1-1")}));
}

TEST_F(BuiltinDates, ConstructorsTakeLocalFields) {
    SetLocalTimeFunction(PlusTwoHours);
    PExprItem made = Call(u"DateTime", {Num(2020), Num(2), Num(29), Num(8), Num(5), Num(9)});
    EXPECT_EQ(made->GetDisplayText(), u"2020-02-29 08:05:09");
    EXPECT_EQ(SecondsOf(made), SecondsFromCivil(2020, 2, 29, 6, 5, 9));
    EXPECT_EQ(Call(u"DateTime", {})->GetDisplayText(), u"2008-01-01 12:00:00");
    // Minutes and seconds have no default: the loaded call leaves them out.
    EXPECT_EQ(LoadCall(u"DateTime", {Num(2020)})->GetDisplayText(), u"DateTime(2020, 1, 1, 12, , )");
    // Fields out of range carry over.
    EXPECT_EQ(Call(u"DateTime", {Num(2020), Num(13), Num(1), Num(24), Num(0), Num(0)})->GetDisplayText(),
              u"2021-01-02 00:00:00");

    SetLocalTimeFunction(nullptr);
    PExprItem span = Call(u"TimeSpan", {Num(1), Num(2), Num(3), Num(4)});
    ASSERT_NE(ItemAs<ExprItem_TimeSpan>(span), nullptr);
    EXPECT_EQ(ItemAs<ExprItem_TimeSpan>(span)->seconds, 86400 + 7200 + 180 + 4);
    EXPECT_EQ(ItemAs<ExprItem_TimeSpan>(Call(u"TimeSpan", {}))->seconds, 86400);
    // Negative spans give negative fields, as they show.
    const PExprItem negative = Span(-(2 * 86400 + 3600 + 61));
    const std::pair<const char16_t*, double> fields[] = {
        {u"TimeSpanGetDays", -2}, {u"TimeSpanGetHours", -1}, {u"TimeSpanGetMinutes", -1}, {u"TimeSpanGetSeconds", -1}};
    for (const auto& [key, value] : fields) EXPECT_EQ(AsNumber(Call(key, {negative})), value) << ToUtf8(key);
    EXPECT_EQ(AsNumber(Call(u"TimeSpanGetMinutes", {span})), 3.0);
    EXPECT_FALSE(Call(u"TimeSpanGetDays", {At(0)}));
}

TEST_F(BuiltinDates, TextReaders) {
    SetLocalTimeFunction(PlusTwoHours);
    EXPECT_EQ(Call(u"DateTimeFromString", {Text(u"2010-11-12 13:14:15")})->GetDisplayText(), u"2010-11-12 13:14:15");
    EXPECT_EQ(Call(u"DateTimeFromString", {})->GetDisplayText(), u"2008-01-01 12:00:00");  // the default
    EXPECT_EQ(Call(u"DateTimeFromString", {Text(u"2008-1-1 7")})->GetDisplayText(), u"2008-01-01 00:00:00");
    EXPECT_FALSE(Call(u"DateTimeFromString", {Text(u"")}));
    EXPECT_FALSE(Call(u"DateTimeFromString", {Text(u"12/31/2008")}));
    EXPECT_FALSE(Call(u"DateTimeFromString", {Text(u"2008-\u0661-1")}));

    EXPECT_EQ(Call(u"StringToDateTime", {Text(u"12/31/2008")})->GetDisplayText(), u"2008-12-31 00:00:00");
    EXPECT_EQ(Call(u"StringToDateTime", {Text(u" 2011-3-4 5:6:7")})->GetDisplayText(), u"2011-03-04 05:06:07");
    EXPECT_FALSE(Call(u"StringToDateTime", {Text(u"March 4")}));
    EXPECT_FALSE(Call(u"StringToDateTime", {Text(u"")}));
}

TEST_F(BuiltinDates, ClockAndDelayComeFromTheHost) {
    EXPECT_FALSE(Call(u"GetTickCount", {}));  // no host: no value
    testing_builtins::FakeBuiltinHost host;
    host.sim.Sleep(2500);
    EXPECT_EQ(Call(u"GetTickCount", {})->GetNumber(), 1002500.0);
    EXPECT_EQ(Call(u"GetCurrentDateTime", {})->GetDisplayText(), u"2026-01-01 00:00:02");
    EXPECT_FALSE(Call(u"Delay", {Num(1500)}));
    EXPECT_FALSE(Call(u"Delay", {Num(-5)}));
    EXPECT_EQ(host.waits, (std::vector<uint32_t>{1500, 0}));
}

TEST_F(BuiltinDates, WaitTimeWaitsForTodaysTimeOrGivesUp) {
    testing_builtins::FakeBuiltinHost host;
    host.sim.Sleep(3000);  // 00:00:03
    const PExprItem reached = Call(u"WaitTime", {Text(u"0:00:10")});
    ASSERT_TRUE(reached);
    EXPECT_TRUE(reached->GetBool());
    EXPECT_EQ(host.sim.ElapsedMs(), 10000u);  // polled every 500 ms until 00:00:10
    EXPECT_EQ(host.statusLines, (std::vector<std::u16string>{u"Waiting until 2026-01-01 00:00:10", u""}));

    EXPECT_FALSE(Call(u"WaitTime", {Text(u"0:00:05")})->GetBool());  // already past: false at once
    EXPECT_EQ(host.sim.ElapsedMs(), 10000u);
    EXPECT_FALSE(Call(u"WaitTime", {Text(u"25:00:00")}));  // not a time: no value
    EXPECT_FALSE(Call(u"WaitTime", {Text(u"12:00")}));
    host.stopAfterMs = 20000;
    EXPECT_FALSE(Call(u"WaitTime", {Text(u"1:00:00 PM")})->GetBool());  // waits for 13:00, stopped first
    EXPECT_EQ(host.statusLines.back(), u"");
    EXPECT_NE(std::find(host.statusLines.begin(), host.statusLines.end(), u"Waiting until 2026-01-01 13:00:00"),
              host.statusLines.end());
}

TEST_F(BuiltinDates, MessageBoxUsesTheDefaultTitle) {
    testing_builtins::FakeBuiltinHost host;
    EXPECT_FALSE(Call(u"MessageBox", {Text(u"Done")}));
    ASSERT_EQ(host.sim.boxes.size(), 1u);
    EXPECT_EQ(host.sim.boxes[0].text, u"Done");
    EXPECT_EQ(host.sim.boxes[0].title, u"Vantorel");
    EXPECT_EQ(host.sim.boxes[0].style, 0x50040u);
}

}  // namespace
}  // namespace ovrix
