#include "platform/Trace.h"

#include <cstdio>

#include "container/Text.h"

namespace ovrix {

std::string JsonString(std::u16string_view text) {
    const std::string utf8 = ToUtf8(text);
    std::string out = "\"";
    for (char c : utf8) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            case '\b': out += "\\b"; break;
            case '\f': out += "\\f"; break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned>(c));
                    out += buf;
                } else {
                    out += c;
                }
        }
    }
    out += '"';
    return out;
}

std::string Hex(uint32_t value) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%X", value);
    return buf;
}

void Trace::Write(uint32_t now, std::string_view event, std::string_view args) const {
    if (!sink_) return;
    std::string line = std::to_string(now - origin_);
    line += ' ';
    line += event;
    if (!args.empty()) {
        line += ' ';
        line += args;
    }
    sink_(line);
}

}  // namespace ovrix
