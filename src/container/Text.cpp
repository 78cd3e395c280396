#include "container/Text.h"

namespace ovrix {

std::string ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;  // a lone surrogate has no UTF-8 form
        }
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

std::u16string FromUtf8(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        const auto b = static_cast<uint8_t>(text[i]);
        uint32_t cp = 0xFFFD;
        size_t len = 1;
        if (b < 0x80) {
            cp = b;
        } else if ((b >> 5) == 0x6) {
            len = 2;
        } else if ((b >> 4) == 0xE) {
            len = 3;
        } else if ((b >> 3) == 0x1E) {
            len = 4;
        }
        if (len > 1) {
            if (i + len > text.size()) {
                len = 1;
            } else {
                cp = b & (0x7F >> len);
                for (size_t k = 1; k < len; ++k) {
                    const auto c = static_cast<uint8_t>(text[i + k]);
                    if ((c & 0xC0) != 0x80) {
                        cp = 0xFFFD;
                        len = 1;
                        break;
                    }
                    cp = (cp << 6) | (c & 0x3F);
                }
            }
        }
        if (cp >= 0x10000 && cp <= 0x10FFFF) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp > 0xFFFF ? 0xFFFD : cp));
        }
        i += len;
    }
    return out;
}

std::u16string Widen(std::string_view ascii) { return {ascii.begin(), ascii.end()}; }

char16_t FoldCase(char16_t ch) {
    if (ch >= u'A' && ch <= u'Z') return ch + 32;
    if (ch < 0xC0) return ch;
    // Latin-1 capitals (but not the multiplication sign), Greek and Cyrillic.
    if (ch <= 0xDE && ch != 0xD7) return ch + 32;
    if (ch >= 0x100 && ch <= 0x17F && (ch & 1) == 0 && ch != 0x130) return ch + 1;
    if (ch >= 0x391 && ch <= 0x3AB && ch != 0x3A2) return ch + 32;
    if (ch >= 0x410 && ch <= 0x42F) return ch + 32;
    if (ch >= 0x400 && ch <= 0x40F) return ch + 80;
    return ch;
}

std::u16string LowerCase(std::u16string_view text) {
    std::u16string out(text);
    for (auto& ch : out) ch = FoldCase(ch);
    return out;
}

bool EqualsNoCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (FoldCase(a[i]) != FoldCase(b[i])) return false;
    }
    return true;
}

std::u16string Decimal(int64_t value) { return Widen(std::to_string(value)); }

std::u16string HexText(uint32_t value) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::u16string digits;
    do {
        digits.insert(digits.begin(), static_cast<char16_t>(kDigits[value & 0xF]));
        value >>= 4;
    } while (value != 0);
    return u"0x" + digits;
}

std::u16string Quote(std::u16string_view text) { return u"\"" + std::u16string(text) + u"\""; }

std::u16string ReplaceAll(std::u16string_view text, std::u16string_view from, std::u16string_view to) {
    std::u16string out;
    if (from.empty()) return std::u16string(text);
    size_t pos = 0;
    while (true) {
        const size_t hit = text.find(from, pos);
        if (hit == std::u16string_view::npos) break;
        out.append(text.substr(pos, hit - pos));
        out.append(to);
        pos = hit + from.size();
    }
    out.append(text.substr(pos));
    return out;
}

}  // namespace ovrix
