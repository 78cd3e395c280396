// Number texts: the display form of Number values (enumeration name, hex,
// colour, exponent form, plain decimals) and the reading of a number at the
// start of a text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ovrix {

class NumberEnum;

// Display flags of a Number value.
namespace numflag {
constexpr uint32_t kHex = 1;       // "0x%X" of the integer part
constexpr uint32_t kExponent = 2;  // mantissa and exponent, zeros stripped
constexpr uint32_t kColour = 4;    // "RGB(r,g,b)"
}  // namespace numflag

// Truncation toward zero to a 64-bit integer as the processor converts:
// NaN and values outside the range give the lowest 64-bit integer.
int64_t TruncateToInt64(double value);
// The same to 32 bits: the lowest 32-bit integer for NaN and out of range.
int32_t TruncateToInt32(double value);

// "%f" with trailing '0' and then '.' characters removed: 2.5, 100, 0.
std::u16string PlainNumberText(double value);

// The display text of a Number with these flags and enumeration (may be null).
std::u16string FormatNumber(double value, uint32_t flags, const NumberEnum* enumeration);

// The number at the start of a text as "%lf" reads it: leading blanks are
// skipped; "12abc" gives 12; 0.0 when the text does not start with a number.
double LeadingNumber(std::u16string_view text);

}  // namespace ovrix
