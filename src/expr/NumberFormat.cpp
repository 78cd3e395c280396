// Number texts. Formatting goes through the C library's "%f" and "%E" and
// then strips what the player's texts leave out, so the result is the same
// whether the library writes two or three exponent digits.
#include "expr/NumberFormat.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "container/Text.h"
#include "expr/NumberEnum.h"

namespace ovrix {

namespace {

void StripTrailing(std::string& s) {
    while (!s.empty() && s.back() == '0') s.pop_back();
    while (!s.empty() && s.back() == '.') s.pop_back();
}

std::u16string ExponentText(double value) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%E", value);
    const std::string text = buf;
    const size_t e = text.find_first_of("Ee");
    if (e == std::string::npos) return Widen(text);  // inf, nan
    std::string out = text.substr(0, e);
    StripTrailing(out);
    out += 'E';
    size_t i = e + 1;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) out += text[i++];
    const size_t firstDigit = text.find_first_not_of('0', i);
    out += firstDigit == std::string::npos ? std::string("0") : text.substr(firstDigit);
    return Widen(out);
}

bool IsBlank(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

}  // namespace

int64_t TruncateToInt64(double value) {
    // -2^63 and 2^63 are exact doubles; the range is [-2^63, 2^63).
    if (std::isnan(value) || value >= 9223372036854775808.0 || value < -9223372036854775808.0) return INT64_MIN;
    return static_cast<int64_t>(value);
}

int32_t TruncateToInt32(double value) {
    if (!(value > -2147483649.0 && value < 2147483648.0)) return INT32_MIN;
    return static_cast<int32_t>(value);
}

std::u16string PlainNumberText(double value) {
    // 1e308 with six decimals needs 316 characters.
    char buf[400];
    std::snprintf(buf, sizeof buf, "%f", value);
    std::string s = buf;
    StripTrailing(s);
    return Widen(s);
}

std::u16string FormatNumber(double value, uint32_t flags, const NumberEnum* enumeration) {
    if (enumeration != nullptr) {
        const int64_t v = TruncateToInt64(value);
        if (const std::u16string* name = enumeration->NameOf(v)) return *name;
        return HexText(static_cast<uint32_t>(v));
    }
    if (flags & numflag::kHex) return HexText(static_cast<uint32_t>(TruncateToInt64(value)));
    if (flags & numflag::kColour) {
        const int64_t v = TruncateToInt64(value);
        return u"RGB(" + Decimal(v & 255) + u"," + Decimal((v >> 8) & 255) + u"," + Decimal((v >> 16) & 255) + u")";
    }
    if (flags & numflag::kExponent) return ExponentText(value);
    return PlainNumberText(value);
}

double LeadingNumber(std::u16string_view text) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    std::string ascii;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) ascii += static_cast<char>(text[i++]);
    size_t digits = 0;
    while (i < text.size() && IsDigit(text[i])) ascii += static_cast<char>(text[i++]), ++digits;
    if (i < text.size() && text[i] == u'.') {
        ascii += '.';
        ++i;
        while (i < text.size() && IsDigit(text[i])) ascii += static_cast<char>(text[i++]), ++digits;
    }
    if (digits == 0) return 0.0;
    // An exponent counts only when at least one digit follows it.
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        size_t j = i + 1;
        std::string exponent = "e";
        if (j < text.size() && (text[j] == u'+' || text[j] == u'-')) exponent += static_cast<char>(text[j++]);
        if (j < text.size() && IsDigit(text[j])) {
            while (j < text.size() && IsDigit(text[j])) exponent += static_cast<char>(text[j++]);
            ascii += exponent;
        }
    }
    return std::strtod(ascii.c_str(), nullptr);
}

}  // namespace ovrix
