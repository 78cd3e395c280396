// Number texts come from std::to_chars, whose shortest form is defined to
// read back to the same double; the reader uses std::from_chars, which
// rounds exactly. Dates use the proleptic Gregorian calendar on whole days
// since 1970-01-01.
#include "ExprLiterals.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <limits>

#include "container/Text.h"
#include "expr/NumberFormat.h"

namespace ovrix {

namespace {

constexpr uint64_t kQuietNaN = 0x7FF8000000000000ull;
constexpr uint64_t kSignBit = 0x8000000000000000ull;
constexpr int64_t kSecondsPerDay = 86400;

std::string Narrow(std::u16string_view text) {
    std::string out;
    for (char16_t ch : text) {
        if (ch > 0x7F) return {};
        out += static_cast<char>(ch);
    }
    return out;
}

std::u16string HexDigits(uint64_t value, int width) {
    static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
    std::u16string out;
    for (int i = width - 1; i >= 0; --i) out += kDigits[(value >> (4 * i)) & 15];
    return out;
}

// Whole days since 1970-01-01 of a civil date, and back.
int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int64_t& y, int64_t& m, int64_t& d) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp + (mp < 10 ? 3 : -9);
    y = yoe + era * 400 + (m <= 2);
}

std::u16string TwoDigits(int64_t v) { return Widen(v < 10 ? "0" + std::to_string(v) : std::to_string(v)); }

// Reads exactly `count` decimal digits at `at`.
bool Digits(std::u16string_view text, size_t at, size_t count, int64_t& out) {
    if (at + count > text.size()) return false;
    out = 0;
    for (size_t i = at; i < at + count; ++i) {
        if (text[i] < u'0' || text[i] > u'9') return false;
        out = out * 10 + (text[i] - u'0');
    }
    return true;
}

// A signed decimal integer that fits in int64, the whole text.
std::optional<int64_t> ReadInteger(std::u16string_view text) {
    const std::string s = Narrow(text);
    if (s.empty()) return std::nullopt;
    int64_t value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
    return value;
}

bool Fail(LiteralError& error, SourcePos pos, std::string message) {
    error = LiteralError{pos, std::move(message)};
    return false;
}

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Letters or digits glued to a number are a mistake, not the next token.
bool EndsCleanly(SourceCursor& c, LiteralError& error) {
    if (!IsNamePart(c.Peek())) return true;
    SourceCursor probe = c;
    std::u16string word;
    while (IsNamePart(probe.Peek())) word += probe.Peek(), probe.Advance();
    return Fail(error, c.Pos(), "unexpected '" + ToUtf8(word) + "' right after a number");
}

// "0x" and 1 to 16 hex digits.
bool ReadHexBits(SourceCursor& c, uint64_t& out, LiteralError& error) {
    const SourcePos pos = c.Pos();
    if (!(c.Accept(u'0') && (c.Accept(u'x') || c.Accept(u'X')))) return Fail(error, pos, "expected a hex number 0x...");
    out = 0;
    int digits = 0;
    for (int d; (d = HexDigit(c.Peek())) >= 0; c.Advance()) {
        if (++digits > 16) return Fail(error, pos, "a hex number has at most 16 digits");
        out = out * 16 + static_cast<uint64_t>(d);
    }
    if (digits == 0) return Fail(error, pos, "expected hex digits after 0x");
    return EndsCleanly(c, error);
}

}  // namespace

bool NumberStartsAt(std::u16string_view text) {
    if (!text.empty() && IsDigit(text[0])) return true;
    for (std::u16string_view word : {std::u16string_view(u"Inf"), std::u16string_view(u"NaN")}) {
        if (text.starts_with(word) && (text.size() == 3 || !IsNamePart(text[3]))) return true;
    }
    return false;
}

bool ReadNumberLiteral(SourceCursor& c, uint64_t& bits, uint32_t& flags, LiteralError& error) {
    const SourcePos pos = c.Pos();
    const bool negative = c.Accept(u'-');
    flags = 0;
    if (c.AcceptWord(u"Inf")) {
        bits = std::bit_cast<uint64_t>(std::numeric_limits<double>::infinity()) | (negative ? kSignBit : 0);
        return true;
    }
    if (c.AcceptWord(u"NaN")) {
        bits = kQuietNaN;
        if (c.Accept(u'(')) {
            if (!ReadHexBits(c, bits, error)) return false;
            if (!c.Accept(u')')) return Fail(error, c.Pos(), "')' expected after the bits of NaN");
            if (!std::isnan(std::bit_cast<double>(bits))) return Fail(error, pos, "NaN(...) needs the bits of a NaN");
        }
        if (negative) bits ^= kSignBit;
        return true;
    }
    if (c.Peek() == u'0' && (c.Peek(1) == u'x' || c.Peek(1) == u'X')) {
        uint64_t magnitude = 0;
        if (!ReadHexBits(c, magnitude, error)) return false;
        const double value = static_cast<double>(magnitude);
        if (value >= 18446744073709551616.0 || static_cast<uint64_t>(value) != magnitude) {
            return Fail(error, pos, "a hex number must be exact as a double");
        }
        bits = std::bit_cast<uint64_t>(negative ? -value : value);
        flags = numflag::kHex;
        return true;
    }
    std::u16string text = negative ? u"-" : u"";
    auto take = [&] {
        text += c.Peek();
        c.Advance();
    };
    while (IsDigit(c.Peek())) take();
    if (c.Peek() == u'.' && IsDigit(c.Peek(1))) {
        take();
        while (IsDigit(c.Peek())) take();
    }
    if ((c.Peek() == u'e' || c.Peek() == u'E') &&
        (IsDigit(c.Peek(1)) || ((c.Peek(1) == u'+' || c.Peek(1) == u'-') && IsDigit(c.Peek(2))))) {
        take();
        if (c.Peek() == u'+' || c.Peek() == u'-') take();
        while (IsDigit(c.Peek())) take();
    }
    const auto number = ReadDecimalNumber(text);
    if (!number) return Fail(error, pos, "expected a number");
    if (!EndsCleanly(c, error)) return false;
    bits = number->bits;
    flags = number->exponentForm ? numflag::kExponent : 0;
    return true;
}

bool ReadWholeNumber(SourceCursor& c, int64_t low, int64_t high, int64_t& out, LiteralError& error) {
    const SourcePos pos = c.Pos();
    const bool negative = c.Accept(u'-');
    uint64_t magnitude = 0;
    if (c.Peek() == u'0' && (c.Peek(1) == u'x' || c.Peek(1) == u'X')) {
        if (!ReadHexBits(c, magnitude, error)) return false;
    } else {
        if (!IsDigit(c.Peek())) return Fail(error, pos, "expected a whole number");
        for (; IsDigit(c.Peek()); c.Advance()) {
            if (magnitude > (1ull << 62)) return Fail(error, pos, "number out of range");
            magnitude = magnitude * 10 + (c.Peek() - u'0');
        }
        if (!EndsCleanly(c, error)) return false;
    }
    if (magnitude > (1ull << 62)) return Fail(error, pos, "number out of range");
    out = negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude);
    if (out < low || out > high) {
        return Fail(error, pos, "expected a whole number from " + std::to_string(low) + " to " + std::to_string(high));
    }
    return true;
}

std::u16string PlainNumberLiteral(uint64_t bits) {
    const double value = std::bit_cast<double>(bits);
    if (std::isnan(value)) return bits == kQuietNaN ? u"NaN" : u"NaN(0x" + HexDigits(bits, 16) + u")";
    if (std::isinf(value)) return value < 0 ? u"-Inf" : u"Inf";
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return Widen(std::string_view(buffer, result.ptr));
}

std::u16string ExponentNumberLiteral(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
    std::string text(buffer, result.ptr);
    const size_t e = text.find('e');
    std::string mantissa = text.substr(0, e);
    const char sign = text[e + 1];
    std::string exponent = text.substr(e + 2);
    while (exponent.size() > 1 && exponent[0] == '0') exponent.erase(0, 1);
    return Widen(mantissa + "E" + sign + exponent);
}

std::optional<DecimalNumber> ReadDecimalNumber(std::u16string_view text) {
    const std::string s = Narrow(text);
    if (s.empty()) return std::nullopt;
    // from_chars takes no '+' and accepts "inf"/"nan", which are no numbers here.
    const size_t first = s[0] == '-' ? 1 : 0;
    if (first >= s.size() || s[first] < '0' || s[first] > '9') return std::nullopt;
    double value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value, std::chars_format::general);
    if (end != s.data() + s.size()) return std::nullopt;
    if (ec == std::errc::result_out_of_range) {
        // Too large reads as infinity and too small as zero, as strtod does.
        const size_t e = s.find_first_of("eE");
        const bool tiny = e != std::string::npos && s[e + 1] == '-';
        value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
        if (first == 1) value = -value;
    } else if (ec != std::errc()) {
        return std::nullopt;
    }
    return DecimalNumber{std::bit_cast<uint64_t>(value), s.find('E') != std::string::npos};
}

std::u16string DateText(int64_t seconds) {
    const int64_t days = seconds >= 0 ? seconds / kSecondsPerDay : -((-(seconds + 1)) / kSecondsPerDay) - 1;
    const int64_t rest = seconds - days * kSecondsPerDay;
    int64_t y = 0, m = 0, d = 0;
    CivilFromDays(days, y, m, d);
    if (y < 1 || y > 9999) return Decimal(seconds);
    std::u16string year = Widen(std::to_string(y));
    while (year.size() < 4) year.insert(year.begin(), u'0');
    return year + u"-" + TwoDigits(m) + u"-" + TwoDigits(d) + u" " + TwoDigits(rest / 3600) + u":" +
           TwoDigits(rest / 60 % 60) + u":" + TwoDigits(rest % 60);
}

std::optional<int64_t> ReadDateText(std::u16string_view text) {
    if (text.size() != 19 || text[4] != u'-' || text[7] != u'-' || text[10] != u' ' || text[13] != u':' ||
        text[16] != u':') {
        return ReadInteger(text);
    }
    int64_t y, mo, d, h, mi, s;
    if (!Digits(text, 0, 4, y) || !Digits(text, 5, 2, mo) || !Digits(text, 8, 2, d) || !Digits(text, 11, 2, h) ||
        !Digits(text, 14, 2, mi) || !Digits(text, 17, 2, s)) {
        return std::nullopt;
    }
    if (y < 1 || mo < 1 || mo > 12 || d < 1 || h > 23 || mi > 59 || s > 59) return std::nullopt;
    const int64_t days = DaysFromCivil(y, mo, d);
    int64_t cy, cm, cd;
    CivilFromDays(days, cy, cm, cd);
    if (cd != d || cm != mo) return std::nullopt;  // the 31st of a shorter month
    return days * kSecondsPerDay + h * 3600 + mi * 60 + s;
}

std::u16string SpanText(int64_t seconds) {
    const bool negative = seconds < 0;
    const uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(seconds) : static_cast<uint64_t>(seconds);
    const uint64_t days = magnitude / kSecondsPerDay;
    const uint64_t rest = magnitude % kSecondsPerDay;
    std::u16string out = negative ? u"-" : u"";
    if (days != 0) out += Widen(std::to_string(days)) + u"d ";
    return out + TwoDigits(static_cast<int64_t>(rest / 3600)) + u":" + TwoDigits(static_cast<int64_t>(rest / 60 % 60)) +
           u":" + TwoDigits(static_cast<int64_t>(rest % 60));
}

std::optional<int64_t> ReadSpanText(std::u16string_view text) {
    const bool negative = !text.empty() && text[0] == u'-';
    if (negative) text.remove_prefix(1);
    uint64_t days = 0;
    const size_t d = text.find(u"d ");
    if (d != std::u16string_view::npos) {
        const std::string digits = Narrow(text.substr(0, d));
        if (digits.empty() || digits[0] < '0' || digits[0] > '9') return std::nullopt;
        const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), days);
        if (ec != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
        text.remove_prefix(d + 2);
    }
    int64_t h, m, s;
    if (text.size() != 8 || text[2] != u':' || text[5] != u':' || !Digits(text, 0, 2, h) || !Digits(text, 3, 2, m) ||
        !Digits(text, 6, 2, s) || h > 23 || m > 59 || s > 59) {
        return std::nullopt;
    }
    constexpr uint64_t kLimit = static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
    if (days > (kLimit + 1) / kSecondsPerDay) return std::nullopt;
    const uint64_t magnitude = days * kSecondsPerDay + static_cast<uint64_t>(h * 3600 + m * 60 + s);
    if (magnitude > kLimit + (negative ? 1 : 0)) return std::nullopt;
    return negative ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
}

std::u16string HexBytesText(const std::vector<uint8_t>& bytes) {
    std::u16string out;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i > 0) out += u' ';
        out += HexDigits(bytes[i], 2);
    }
    return out;
}

std::optional<std::vector<uint8_t>> ReadHexBytes(std::u16string_view text) {
    std::vector<uint8_t> out;
    for (size_t i = 0; i < text.size();) {
        if (text[i] == u' ') {
            ++i;
            continue;
        }
        const int high = HexDigit(text[i]);
        const int low = i + 1 < text.size() ? HexDigit(text[i + 1]) : -1;
        if (high < 0 || low < 0) return std::nullopt;
        out.push_back(static_cast<uint8_t>(high * 16 + low));
        i += 2;
    }
    return out;
}

}  // namespace ovrix
