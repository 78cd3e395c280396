// The literal texts of the expression source form that carry exact binary
// values: numbers (the shortest text that reads back to the same double),
// dates and time spans (whole seconds, dates in UTC so a source means the
// same everywhere) and byte data as hex digit pairs. Each writer has a
// reader that gives back exactly what was written.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "SourceText.h"

namespace ovrix {

// A double as the shortest decimal that reads back to it ("1.5", "-0",
// "1e+300"), or "Inf", "-Inf", "NaN" (the usual quiet NaN) and
// "NaN(0x<16 hex digits>)" for any other NaN.
std::u16string PlainNumberLiteral(uint64_t bits);
// The same in exponent form with a capital E ("1.5E+3"); finite values only.
std::u16string ExponentNumberLiteral(double value);
// Reads a decimal number ("12", "-1.5", "2e-3", "1.5E+3") into bits; also
// says whether it was written with a capital E. nullopt when `text` is not
// one whole number.
struct DecimalNumber {
    uint64_t bits = 0;
    bool exponentForm = false;
};
std::optional<DecimalNumber> ReadDecimalNumber(std::u16string_view text);

// Seconds since 1970-01-01 00:00 UTC as "YYYY-MM-DD hh:mm:ss" for years 1
// to 9999, else as the signed count of seconds.
std::u16string DateText(int64_t seconds);
std::optional<int64_t> ReadDateText(std::u16string_view text);
// A signed second count as "[-][Dd ]hh:mm:ss".
std::u16string SpanText(int64_t seconds);
std::optional<int64_t> ReadSpanText(std::u16string_view text);

// Bytes as upper-case hex digit pairs separated by spaces; the reader
// accepts pairs with or without spaces between them.
std::u16string HexBytesText(const std::vector<uint8_t>& bytes);
std::optional<std::vector<uint8_t>> ReadHexBytes(std::u16string_view text);

// Readers of numbers at a cursor. On a mistake they answer false and fill
// `error` with what was expected where.
struct LiteralError {
    SourcePos pos;
    std::string message;
};
// Whether a number starts `text`: a digit, or the word Inf or NaN.
bool NumberStartsAt(std::u16string_view text);
// A number literal of an expression, with the display flags its spelling
// gives: decimal (a capital E: the exponent form), 0x hex (the hex form),
// Inf, NaN or NaN(0x<bits>); a '-' before it belongs to it.
bool ReadNumberLiteral(SourceCursor& c, uint64_t& bits, uint32_t& flags, LiteralError& error);
// A whole number within [low, high]: decimal, or 0x hex.
bool ReadWholeNumber(SourceCursor& c, int64_t low, int64_t high, int64_t& out, LiteralError& error);

}  // namespace ovrix
