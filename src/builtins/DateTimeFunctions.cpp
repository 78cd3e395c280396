// The Date and time family of built-in functions. Date-times are second
// counts since 1970 UTC whose calendar fields are read in local time through
// the platform's conversion; fields given by a script (DateTime, the text
// readers) are local too and are turned into a second count by inverting
// that conversion. Time spans are signed second counts whose fields are
// truncated quotients and remainders, as their display shows them.
//
// WaitTime, Delay, GetCurrentDateTime and GetTickCount take the clock from
// the host's desktop and the playback wait from the host; without a host
// they give no value.
#include <algorithm>
#include <cstdio>
#include <iterator>
#include <string>

#include "builtins/BuiltinHost.h"
#include "builtins/FamilyTable.h"
#include "builtins/Registry.h"
#include "expr/KindsValue.h"
#include "expr/LocalTime.h"
#include "expr/NumberFormat.h"
#include "platform/Desktop.h"

namespace ovrix {

namespace {

using namespace fnargs;

// The second count whose local fields are these (out-of-range fields carry
// over). The UTC reading is corrected by the local offset found at the
// guess, twice, so that a guess across an offset change settles.
int64_t SecondsFromLocal(int32_t year, int32_t month, int32_t day, int32_t hour, int32_t minute, int32_t second) {
    const int64_t wanted = SecondsFromCivil(year, month, day, hour, minute, second);
    int64_t guess = wanted;
    for (int i = 0; i < 2; ++i) {
        const CivilTime t = ToLocalTime(guess);
        if (t.year == 0) break;
        const int64_t shown = SecondsFromCivil(t.year, t.month, t.day, t.hour, t.minute, t.second);
        if (shown == wanted) break;
        guess -= shown - wanted;
    }
    return guess;
}

PExprItem* ReturnDateTime(PExprItem* result, int64_t seconds) {
    return ReturnValue(result, MakeItem<ExprItem_DateTime>(seconds));
}

// The local fields of the first argument when it is a date-time the
// conversion accepts.
bool LocalFields(int32_t count, PExprItem* args, CivilTime& out) {
    if (count < 1) return false;
    const auto* dateTime = ItemAs<ExprItem_DateTime>(args[0]);
    if (dateTime == nullptr) return false;
    out = ToLocalTime(dateTime->seconds);
    return out.year != 0;
}

enum class Field { Year, Month, Day, Hour, Minute, Second, WeekDay };

template <Field F>
PExprItem* DateTimeField(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    CivilTime t;
    if (!LocalFields(count, args, t)) return None(result);
    switch (F) {
        case Field::Year: return ReturnNumber(result, t.year);
        case Field::Month: return ReturnNumber(result, t.month);
        case Field::Day: return ReturnNumber(result, t.day);
        case Field::Hour: return ReturnNumber(result, t.hour);
        case Field::Minute: return ReturnNumber(result, t.minute);
        case Field::Second: return ReturnNumber(result, t.second);
        case Field::WeekDay: {
            // 1970-01-01 was a Thursday (4, counting Sunday as 0).
            const int64_t days = SecondsFromCivil(t.year, t.month, t.day, 0, 0, 0) / 86400;
            return ReturnNumber(result, static_cast<double>(((days + 4) % 7 + 7) % 7));
        }
    }
    return None(result);
}

// A day is 86400 seconds: the local clock's own changes are not followed.
template <int64_t Shift>
PExprItem* ShiftDay(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    const auto* dateTime = count >= 1 ? ItemAs<ExprItem_DateTime>(args[0]) : nullptr;
    if (dateTime == nullptr) return None(result);
    return ReturnDateTime(result, dateTime->seconds + Shift);
}

enum class SpanField { Days, Hours, Minutes, Seconds };

template <SpanField F>
PExprItem* TimeSpanField(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    const auto* span = count >= 1 ? ItemAs<ExprItem_TimeSpan>(args[0]) : nullptr;
    if (span == nullptr) return None(result);
    const int64_t s = span->seconds;
    switch (F) {
        case SpanField::Days: return ReturnNumber(result, static_cast<double>(s / 86400));
        case SpanField::Hours: return ReturnNumber(result, static_cast<double>(s / 3600 % 24));
        case SpanField::Minutes: return ReturnNumber(result, static_cast<double>(s / 60 % 60));
        case SpanField::Seconds: return ReturnNumber(result, static_cast<double>(s % 60));
    }
    return None(result);
}

std::string AsciiBytes(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char16_t c : text) out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return out;
}

// Reads the text with the C library's "%d" patterns, in order; the first
// that reads all its fields gives the date-time. Month-first patterns name
// the year third.
struct DatePattern {
    const char* format;
    int fields;
    bool monthFirst;
};

bool ReadDateTime(const std::u16string& text, const DatePattern* patterns, size_t count, int64_t& seconds) {
    const std::string bytes = AsciiBytes(text);
    for (size_t i = 0; i < count; ++i) {
        int v[6] = {0, 0, 0, 0, 0, 0};
        const int read = std::sscanf(bytes.c_str(), patterns[i].format, &v[0], &v[1], &v[2], &v[3], &v[4], &v[5]);
        if (read != patterns[i].fields) continue;
        const int year = patterns[i].monthFirst ? v[2] : v[0];
        const int month = patterns[i].monthFirst ? v[0] : v[1];
        const int day = patterns[i].monthFirst ? v[1] : v[2];
        seconds = SecondsFromLocal(year, month, day, v[3], v[4], v[5]);
        return true;
    }
    return false;
}

PExprItem* DateTimeFromString(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    static constexpr DatePattern kPatterns[] = {{"%d-%d-%d %d:%d:%d", 6, false}, {"%d-%d-%d", 3, false}};
    if (count < 1) return None(result);
    const std::u16string text = Text(args, count, 0);
    int64_t seconds = 0;
    if (text.empty() || !ReadDateTime(text, kPatterns, std::size(kPatterns), seconds)) return None(result);
    return ReturnDateTime(result, seconds);
}

PExprItem* StringToDateTime(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    static constexpr DatePattern kPatterns[] = {{"%d-%d-%d %d:%d:%d", 6, false},
                                                {"%d/%d/%d %d:%d:%d", 6, true},
                                                {"%d-%d-%d", 3, false},
                                                {"%d/%d/%d", 3, true}};
    if (count < 1) return None(result);
    int64_t seconds = 0;
    if (!ReadDateTime(Text(args, count, 0), kPatterns, std::size(kPatterns), seconds)) return None(result);
    return ReturnDateTime(result, seconds);
}

// StringToDateTime's default is a date-time rather than a text; the function
// reads it back through its text, so a call without an argument gives it.
PExprItem StringToDateTimeDefault() { return MakeItem<ExprItem_DateTime>(SecondsFromLocal(2012, 1, 1, 12, 0, 0)); }

int32_t Field32(PExprItem* args, int32_t count, int32_t i) {
    const int64_t v = TruncateToInt64(Number(args, count, i));
    return static_cast<int32_t>(std::clamp<int64_t>(v, -1000000000, 1000000000));
}

// Local fields; missing ones read as 0 and out-of-range ones carry over.
PExprItem* MakeDateTime(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    return ReturnDateTime(result, SecondsFromLocal(Field32(args, count, 0), Field32(args, count, 1),
                                                   Field32(args, count, 2), Field32(args, count, 3),
                                                   Field32(args, count, 4), Field32(args, count, 5)));
}

PExprItem* MakeTimeSpan(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    const int64_t seconds = int64_t{Field32(args, count, 0)} * 86400 + int64_t{Field32(args, count, 1)} * 3600 +
                            int64_t{Field32(args, count, 2)} * 60 + Field32(args, count, 3);
    return ReturnValue(result, MakeItem<ExprItem_TimeSpan>(seconds));
}

const ArgSpec kDateTime{u"DateTime", fkind::kDateTime};
const ArgSpec kTimeSpan{u"TimeSpan", fkind::kTimeSpan};

FunctionSpec Member(const char16_t* key, PLX_FunImpl impl, const char16_t* member) {
    FunctionSpec spec{key, fkind::kNumber, impl, {kDateTime}};
    spec.member = true;
    spec.memberName = member;
    spec.propertyGet = true;
    return spec;
}

PExprItem* Delay(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    BuiltinHost* host = GetBuiltinHost();
    if (host != nullptr && count >= 1) {
        const double ms = AsNumber(args[0]);
        host->Wait(ms > 0 ? static_cast<uint32_t>(std::min(ms, 4294967295.0)) : 0);
    }
    return None(result);
}

PExprItem* GetTickCount(PExprItem* result, int32_t, PExprItem*, uint32_t) {
    BuiltinHost* host = GetBuiltinHost();
    return host != nullptr ? ReturnNumber(result, host->GetDesktop().clock.TickCount()) : None(result);
}

PExprItem* GetCurrentDateTime(PExprItem* result, int32_t, PExprItem*, uint32_t) {
    BuiltinHost* host = GetBuiltinHost();
    return host != nullptr ? ReturnDateTime(result, host->GetDesktop().clock.Now()) : None(result);
}

// Waits until today's local time reaches the given "h:m:s" (with "PM" adding
// 12 hours): true at that second, false when it has already passed or
// playback stops first. The status line says what it waits for meanwhile.
PExprItem* WaitTime(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    BuiltinHost* host = GetBuiltinHost();
    const std::u16string text = Text(args, count, 0);
    if (host == nullptr || text.empty()) return None(result);
    const std::string narrow(text.begin(), text.end());  // digits and colons are all that is read
    int hour = 0, minute = 0, second = 0;
    if (std::sscanf(narrow.c_str(), "%d:%d:%d", &hour, &minute, &second) != 3) return None(result);
    if (text.find(u"PM") != std::u16string::npos) hour += 12;
    if (hour >= 24 || minute >= 60 || second >= 60) return None(result);

    Clock& clock = host->GetDesktop().clock;
    const CivilTime today = ToLocalTime(clock.Now());
    const int64_t target = SecondsFromLocal(today.year, today.month, today.day, hour, minute, second);
    const CivilTime goal = ToLocalTime(target);
    host->SetStatusLine(u"Waiting until " + MakeItem<ExprItem_DateTime>(target)->GetDisplayText());
    bool reached = false;
    while (!host->StopRequested()) {
        const int64_t now = clock.Now();
        const CivilTime t = ToLocalTime(now);
        if (t.hour == goal.hour && t.minute == goal.minute && t.second == goal.second) {
            reached = true;
            break;
        }
        if (now > target) break;
        host->Wait(500);
    }
    host->SetStatusLine(u"");
    return HostServices().makeTruth(result, reached ? 1u : 0u);
}

const FunctionSpec kDateTimeRows[] = {
    {u"DateTimeGetYear", fkind::kNumber, DateTimeField<Field::Year>, {kDateTime}},
    {u"DateTimeGetMonth", fkind::kNumber, DateTimeField<Field::Month>, {kDateTime}},
    {u"DateTimeGetDay", fkind::kNumber, DateTimeField<Field::Day>, {kDateTime}},
    {u"WaitTime", fkind::kBool, WaitTime, {{u"Time", fkind::kText, DefText(u"15:00:00")}}, nullptr,
     u"If this function has missed the time, it will return False."},
    {u"DateTimeGetHour", fkind::kNumber, DateTimeField<Field::Hour>, {kDateTime}},
    {u"DateTimeGetMinute", fkind::kNumber, DateTimeField<Field::Minute>, {kDateTime}},
    {u"DateTimeGetSecond", fkind::kNumber, DateTimeField<Field::Second>, {kDateTime}},
    {u"DayOfWeek", fkind::kNumber, DateTimeField<Field::WeekDay>, {kDateTime}, nullptr, u"Note: The 0 day is Sunday."},
    {u"Tomorrow", fkind::kDateTime, ShiftDay<86400>, {kDateTime}},
    {u"Yesterday", fkind::kDateTime, ShiftDay<-86400>, {kDateTime}},
    {u"TimeSpanGetDays", fkind::kNumber, TimeSpanField<SpanField::Days>, {kTimeSpan}},
    {u"TimeSpanGetHours", fkind::kNumber, TimeSpanField<SpanField::Hours>, {kTimeSpan}},
    {u"TimeSpanGetMinutes", fkind::kNumber, TimeSpanField<SpanField::Minutes>, {kTimeSpan}},
    {u"TimeSpanGetSeconds", fkind::kNumber, TimeSpanField<SpanField::Seconds>, {kTimeSpan}},
    Member(u"<DateTime.GetDay>", DateTimeField<Field::Day>, u"Day"),
    Member(u"<DateTime.GetMonth>", DateTimeField<Field::Month>, u"Month"),
    Member(u"<DateTime.GetYear>", DateTimeField<Field::Year>, u"Year"),
    Member(u"<DateTime.GetHour>", DateTimeField<Field::Hour>, u"Hour"),
    Member(u"<DateTime.GetMinute>", DateTimeField<Field::Minute>, u"Minute"),
    Member(u"<DateTime.GetSecond>", DateTimeField<Field::Second>, u"Second"),
    {u"Delay", fkind::kNothing, Delay, {{u"DelayTime(ms)", fkind::kNumber, DefNumber(1000)}}},
    {u"StringToDateTime", fkind::kDateTime, StringToDateTime,
     {{u"DateTimeString", fkind::kText, DefMade(StringToDateTimeDefault)}}},
    {u"GetCurrentDateTime", fkind::kDateTime, GetCurrentDateTime},
    {u"DateTime", fkind::kObject, MakeDateTime,
     {{u"Year", fkind::kNumber, DefNumber(2008)},
      {u"Month", fkind::kNumber, DefNumber(1)},
      {u"Day", fkind::kNumber, DefNumber(1)},
      {u"Hour", fkind::kNumber, DefNumber(12)},
      {u"Minute", fkind::kNumber},
      {u"Second", fkind::kNumber}},
     u"DateTime"},
    {u"TimeSpan", fkind::kObject, MakeTimeSpan,
     {{u"NDay", fkind::kNumber, DefNumber(1)},
      {u"NHour", fkind::kNumber},
      {u"NMinute", fkind::kNumber},
      {u"NSecond", fkind::kNumber}},
     u"TimeSpan"},
    {u"DateTimeFromString", fkind::kDateTime, DateTimeFromString,
     {{u"DateTimeString", fkind::kText, DefText(u"2008-1-1 12:00:00")}}},
    {u"GetTickCount", fkind::kNumber, GetTickCount},
};

}  // namespace

std::span<const FunctionSpec> DateTimeFunctions() { return kDateTimeRows; }

}  // namespace ovrix
