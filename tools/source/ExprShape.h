// The stored node as the source form sees it: a kind and the fields of its
// records, with sub-nodes kept as the bytes they were stored as. The writer
// decodes a node into a shape and the parser builds one; both turn a shape
// into bytes with EncodeShape, so a node is shown in the readable form only
// when encoding its decoded shape gives back exactly its bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "container/Container.h"
#include "container/RecordBuffer.h"

namespace ovrix {

// Readable nodes nest at most this deep; deeper ones are written raw, and
// the parser refuses deeper text, so no input can exhaust the stack.
constexpr int kMaxSourceDepth = 200;

enum class ShapeFamily {
    Raw,        // a kind without a readable form
    Text,       // 'TEXT'
    Number,     // 'NFLG', 'NUM', optional 'ENUM'
    Bool,       // 'BOOL'
    DateTime,   // 'TIME'
    TimeSpan,   // 'SPAN'
    Handle,     // 'HDL'
    Bytes,      // Hex and BinData: optional 'HEX'
    Variable,   // 'VAR' text
    Member,     // 'MEM'
    Operator,   // optional 'OPR1', 'OPR2'
    Call,       // 'FUN', 'LIST', 'A'+n
    ScriptCall, // 'FUN', 'A'+n
    Assign,     // SetVar, Alias, AddValue: optional 'VAR', 'VAL'
    Remove,     // optional 'VAR'
    ValueList,  // 'I'+n, empty for an absent element
    Pattern,    // 'RET', 'FLAT', 'N', 'M', 'DBL1', 'DBL2', 'TEXT', 'SUBE'
    EmptyValue, // nothing after 'TYPE'
};

ShapeFamily FamilyOf(uint32_t kind);

struct ExprShape {
    uint32_t kind = 0;
    std::u16string text;                 // TEXT, VAR, MEM, FUN; a pattern's TEXT
    std::optional<std::u16string> enumName;
    uint32_t word = 0;                   // NFLG, BOOL, HDL, LIST; a pattern's RET
    uint64_t bits = 0;                   // NUM (the double's bits), TIME, SPAN
    std::vector<uint8_t> bytes;          // HEX
    uint32_t flat = 0, n = 0, m = 0;     // a pattern's FLAT, N, M
    uint64_t low = 0, high = 0;          // a pattern's DBL1, DBL2 (bits)
    // Sub-nodes in their stored order: operands, target and value, the
    // pattern's sub-node (nullopt: no record), arguments, list elements (an
    // empty region: an absent element).
    std::vector<std::optional<Region>> parts;
};

// The shape of a node whose records hold together; nullopt when they do not
// (then only the raw form keeps the node).
std::optional<ExprShape> DecodeShape(Region node);
void EncodeShape(const ExprShape& shape, RecordBuffer& out);

// The two halves of a decimal bound's bits, which a decimal range node
// stores under 'N' and 'M'.
uint32_t LowWord(uint64_t bits);
uint32_t HighWord(uint64_t bits);

}  // namespace ovrix
