// The action trace: one line per observable action, "<ms> <event> <args>",
// ms counted from the start of playback. Texts are JSON string literals in
// UTF-8; numbers are decimal unless written as 0x-hex. The format is
// documented in docs/trace.md; tests compare these lines exactly.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace ovrix {

// A JSON string literal for a UTF-16 text, quotes included.
std::string JsonString(std::u16string_view text);
std::string Hex(uint32_t value);

class Trace {
public:
    using Sink = std::function<void(const std::string& line)>;

    Trace() = default;
    explicit Trace(Sink sink) : sink_(std::move(sink)) {}

    bool Enabled() const { return static_cast<bool>(sink_); }
    void SetOrigin(uint32_t tick) { origin_ = tick; }
    // Writes "<ms> <event>[ <args>]" with ms = now - origin.
    void Write(uint32_t now, std::string_view event, std::string_view args = {}) const;

private:
    Sink sink_;
    uint32_t origin_ = 0;
};

}  // namespace ovrix
