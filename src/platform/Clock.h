// The desktop's clock: the tick count, wall-clock and local time, sleeping,
// and letting the thread's messages through. Nothing here is traced.
#pragma once

#include <cstdint>

namespace ovrix {

struct LocalTime {
    int32_t year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

class Clock {
public:
    virtual ~Clock() = default;

    virtual uint32_t TickCount() = 0;  // milliseconds, wraps like the system's
    // The clock the trace stamps lines with; reading it must not disturb playback.
    virtual uint32_t TraceClock() { return TickCount(); }
    virtual void Sleep(uint32_t ms) = 0;
    virtual int64_t Now() = 0;  // seconds since 1970-01-01 00:00 UTC
    virtual bool ToLocalTime(int64_t seconds, LocalTime& out) = 0;
    virtual void PumpMessages() = 0;  // dispatch the thread's pending messages
};

}  // namespace ovrix
