// Calendar arithmetic on the proleptic Gregorian calendar (days counted
// from 1970-01-01 with eras of 400 years), free of the C library's time
// zone state.
#include "expr/LocalTime.h"

#include "expr/ExprState.h"

namespace ovrix {

namespace {

constexpr int64_t kLastAccepted = 32535215999;  // 3000-12-31 23:59:59

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

void CivilFromDays(int64_t z, int32_t& y, int32_t& m, int32_t& d) {
    z += 719468;
    const int64_t era = FloorDiv(z, 146097);
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    d = static_cast<int32_t>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int32_t>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int32_t>(yoe + era * 400 + (m <= 2 ? 1 : 0));
}

int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d) {
    // Bring the month into 1..12 first, carrying whole years.
    y += FloorDiv(m - 1, 12);
    m = m - 1 - FloorDiv(m - 1, 12) * 12 + 1;
    y -= m <= 2 ? 1 : 0;
    const int64_t era = FloorDiv(y, 400);
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

}  // namespace

bool UtcCivilTime(int64_t seconds, CivilTime& out) {
    if (seconds < 0 || seconds > kLastAccepted) return false;
    const int64_t days = seconds / 86400;
    const int64_t rest = seconds % 86400;
    CivilFromDays(days, out.year, out.month, out.day);
    out.hour = static_cast<int32_t>(rest / 3600);
    out.minute = static_cast<int32_t>(rest / 60 % 60);
    out.second = static_cast<int32_t>(rest % 60);
    return true;
}

void SetLocalTimeFunction(LocalTimeFn fn) {
    if (ExprState* state = CurrentExprState()) state->localTime = fn;
}

CivilTime ToLocalTime(int64_t seconds) {
    CivilTime t;
    const ExprState* state = CurrentExprState();
    const LocalTimeFn fn = state != nullptr && state->localTime != nullptr ? state->localTime : &UtcCivilTime;
    if (!fn(seconds, t)) {
        t = CivilTime{};
        t.hour = t.minute = t.second = -1;
    }
    return t;
}

int64_t SecondsFromCivil(int32_t year, int32_t month, int32_t day, int32_t hour, int32_t minute, int32_t second) {
    return DaysFromCivil(year, month, day) * 86400 + int64_t{hour} * 3600 + int64_t{minute} * 60 + second;
}

}  // namespace ovrix
