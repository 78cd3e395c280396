// Date-times (shown in local time) and time spans.
#include <cstdio>

#include "container/Text.h"
#include "expr/KindsValue.h"
#include "expr/LocalTime.h"

namespace ovrix {

std::u16string ExprItem_DateTime::GetDisplayText() const {
    const CivilTime t = ToLocalTime(seconds);
    char buf[96];
    std::snprintf(buf, sizeof buf, "%d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute, t.second);
    return Widen(buf);
}

void ExprItem_DateTime::Save(RecordBuffer& buffer) const {
    ExprItem::Save(buffer);
    Write64(buffer, tag::kTime, seconds);
}

void ExprItem_DateTime::Load(Region region) { seconds = ReadI64(region, tag::kTime, 0); }

PExprItem ExprItem_DateTime::Clone() const { return MakeItem<ExprItem_DateTime>(seconds); }

std::u16string ExprItem_TimeSpan::GetDisplayText() const {
    // Each field is a truncated quotient or remainder of the signed count,
    // so a negative span shows negative fields.
    const int64_t days = seconds / 86400;
    const int hours = static_cast<int>(seconds / 3600 % 24);
    const int minutes = static_cast<int>(seconds / 60 % 60);
    const int secs = static_cast<int>(seconds % 60);
    char buf[64];
    std::snprintf(buf, sizeof buf, ":%02d:%02d:%02d]", hours, minutes, secs);
    return u"[TimeSpan:" + Decimal(days) + Widen(buf);
}

void ExprItem_TimeSpan::Save(RecordBuffer& buffer) const {
    ExprItem::Save(buffer);
    Write64(buffer, tag::kSpan, seconds);
}

void ExprItem_TimeSpan::Load(Region region) { seconds = ReadI64(region, tag::kSpan, 0); }

PExprItem ExprItem_TimeSpan::Clone() const { return MakeItem<ExprItem_TimeSpan>(seconds); }

}  // namespace ovrix
