// Reading a desktop trace in tests: each line is "<ms> <event> <args>", and
// most assertions want some events' lines without their time field.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace ovrix {

using Lines = std::vector<std::string>;

// The lines without their time field.
inline Lines Untimed(const Lines& trace) {
    Lines out;
    for (const auto& line : trace) out.push_back(line.substr(line.find(' ') + 1));
    return out;
}

// The lines whose event starts with one of `events`, in trace order, without
// their time field.
inline Lines EventsOf(const Lines& trace, std::initializer_list<std::string_view> events) {
    Lines out;
    for (const auto& rest : Untimed(trace)) {
        for (const std::string_view event : events) {
            if (rest.rfind(event, 0) == 0) {
                out.push_back(rest);
                break;
            }
        }
    }
    return out;
}
inline Lines EventsOf(const Lines& trace, std::string_view event) { return EventsOf(trace, {event}); }

// The lines of `events` added since `seen`, which moves past them: what a
// test's calls traced since its last look.
inline Lines EventsSince(const Lines& trace, size_t& seen, std::initializer_list<std::string_view> events) {
    const Lines fresh(trace.begin() + static_cast<std::ptrdiff_t>(seen), trace.end());
    seen = trace.size();
    return EventsOf(fresh, events);
}

}  // namespace ovrix
