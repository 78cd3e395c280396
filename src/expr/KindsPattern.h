// Text pattern nodes. A pattern arrives as a tree of these nodes (there is
// no pattern source text); each node has a node type from 1 to 15 and, for
// the composite types, a sub-node: one pattern node, or for sequences (2)
// and alternations (5) a value list of pattern nodes. The matcher is in
// PatternMatch.h.
#pragma once

#include <cstdint>
#include <string>

#include "container/Tags.h"
#include "expr/ExprItem.h"
#include "expr/ExprKinds.h"

namespace ovrix {

namespace pattern {
constexpr int32_t kLiteral = 1;
constexpr int32_t kSequence = 2;
constexpr int32_t kClass = 3;
constexpr int32_t kNegatedClass = 4;
constexpr int32_t kAlternation = 5;
constexpr int32_t kUpToLiteral = 6;
constexpr int32_t kZeroOrMore = 7;
constexpr int32_t kOneOrMore = 8;
constexpr int32_t kOptional = 9;
constexpr int32_t kRange = 10;      // N to M times
constexpr int32_t kExactly = 11;    // N times
constexpr int32_t kAtLeast = 12;    // N or more times
constexpr int32_t kIntegerIn = 13;  // integer between bounds
constexpr int32_t kDecimalIn = 14;  // decimal between bounds
constexpr int32_t kRest = 15;       // the rest of the text

// The stored node's records: its type, its flags, the counts, the decimal
// bounds, its text (under 'TEXT') and its sub-node.
constexpr uint32_t kTagNodeType = MakeTag("RET");
constexpr uint32_t kTagBounds = MakeTag("FLAT");
constexpr uint32_t kTagN = MakeTag("N");
constexpr uint32_t kTagM = MakeTag("M");
constexpr uint32_t kTagLow = MakeTag("DBL1");
constexpr uint32_t kTagHigh = MakeTag("DBL2");
constexpr uint32_t kTagSub = MakeTag("SUBE");
}  // namespace pattern

class ExprItem_RegExpr : public ExprItem {
public:
    ExprItem_RegExpr() : ExprItem(kind::kRegExp) {}
    std::u16string GetTypeName() const override { return u"RegExp"; }
    bool Walk(ExprWalkFn callback, void* context) override;
    std::u16string GetDisplayText() const override;
    std::u16string GetMarkedText() const override { return Marker(u'N', GetDisplayText()); }
    void Save(RecordBuffer& buffer) const override;
    void Load(Region region) override;
    // Copies every field and shares the sub-node.
    PExprItem Clone() const override;

    int32_t nodeType = 0;     // 'RET'
    uint32_t boundFlags = 0;  // 'FLAT': bit 0 lower bound given, bit 1 upper bound given
    int32_t n = 0;            // 'N'
    int32_t m = 0;            // 'M'
    // 'DBL1': decimal range nodes only. It shares its storage with N and M,
    // so a decimal range node writes the two halves of its bits under 'N'
    // and 'M' and, once loaded, holds them in n and m as well.
    double low = 0.0;
    double high = 0.0;        // 'DBL2'
    std::u16string text;      // 'TEXT'
    PExprItem sub;            // 'SUBE'
};

}  // namespace ovrix
