// Byte data: the buffers of Hex and BinData values and the binary-data
// operations as built-in functions call them (evaluated arguments, the byte
// value first; too few arguments or a first argument without bytes answer
// no value). Hex and BinData differ only in how they show, so every
// operation here accepts either.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "expr/Array.h"

namespace ovrix {

// The bytes of a Hex or BinData value; null for any other value.
const std::vector<uint8_t>* BytesOf(const PExprItem& value);

// Reads hexadecimal digits two to a byte, high nibble first, as the value
// text of Hex data shows them: an optional "0x" after leading blanks, then
// pairs of digits of either case; blanks (space, tab, CR, LF) may stand
// between pairs. An odd digit count or any other character reads nothing.
std::optional<std::vector<uint8_t>> ParseHexBytes(std::u16string_view text);

namespace containers {

PExprItem Hex_GetSize(Arguments args);       // byte data
PExprItem BinData_FromText(Arguments args);  // hex text: a new BinData
PExprItem BinData_GetSize(Arguments args);   // byte data
PExprItem BinData_GetByte(Arguments args);   // byte data, 0-based position

}  // namespace containers

}  // namespace ovrix
