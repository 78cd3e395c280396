// Calendar fields of a time in the user's local time. Date-time values are
// second counts since 1970-01-01 00:00 UTC and show in local time; the
// conversion belongs to the platform (the simulated desktop runs in UTC,
// Windows uses its time-zone rules), so the expression language only calls
// the conversion that the platform installed.
#pragma once

#include <cstdint>

namespace ovrix {

struct CivilTime {
    int32_t year = 0;
    int32_t month = 0;  // 1 to 12
    int32_t day = 0;    // 1 to 31
    int32_t hour = 0;
    int32_t minute = 0;
    int32_t second = 0;
};

// Fills `out` with the local calendar fields of `seconds`; answers false
// when the time lies outside the range the conversion accepts.
using LocalTimeFn = bool (*)(int64_t seconds, CivilTime& out);

// The UTC calendar, over the range that the Windows C library's local-time
// conversion accepts (1970-01-01 00:00:00 to 3000-12-31 23:59:59). It is the
// conversion in force until the platform installs its own.
bool UtcCivilTime(int64_t seconds, CivilTime& out);

// Installs the platform's conversion in the installed expression state
// (null restores UtcCivilTime).
void SetLocalTimeFunction(LocalTimeFn fn);
// Converts with the installed conversion. When it fails, the year, month
// and day are 0 and the hour, minute and second -1.
CivilTime ToLocalTime(int64_t seconds);

// Seconds since 1970 of a UTC calendar date and time (any field may be out
// of its usual range; it carries over).
int64_t SecondsFromCivil(int32_t year, int32_t month, int32_t day, int32_t hour, int32_t minute, int32_t second);

}  // namespace ovrix
