#include "platform/Windows1252.h"

#include <cstdint>
#include <iterator>

namespace ovrix {

namespace {

// Windows-1252 from 0x80 to 0x9F; the rest of the page is Latin-1.
constexpr char16_t kHigh1252[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

}  // namespace

std::u16string FromWindows1252(std::string_view bytes) {
    std::u16string text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<uint8_t>(c);
        text.push_back(byte >= 0x80 && byte < 0xA0 ? kHigh1252[byte - 0x80] : static_cast<char16_t>(byte));
    }
    return text;
}

std::string ToWindows1252(std::u16string_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (size_t at = 0; at < text.size(); ++at) {
        const char16_t unit = text[at];
        // A character beyond the first 65536 is one '?', not two.
        if (unit >= 0xDC00 && unit <= 0xDFFF && at > 0 && text[at - 1] >= 0xD800 && text[at - 1] <= 0xDBFF) continue;
        if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) {
            bytes.push_back(static_cast<char>(unit));
            continue;
        }
        char byte = '?';
        for (size_t i = 0; i < std::size(kHigh1252); ++i) {
            if (kHigh1252[i] == unit) byte = static_cast<char>(0x80 + i);
        }
        bytes.push_back(byte);
    }
    return bytes;
}

}  // namespace ovrix
