// Pattern nodes: stored form and display text. The display puts a sub-node
// in parentheses when it is a sequence or alternation of more than one
// element, so that a repetition applies to the whole group.
//
// The decimal lower bound of a decimal range node occupies the eight bytes
// that hold N and M in every other node type. The stored form follows from
// that: a decimal range node's 'N' and 'M' records carry the two 32-bit
// halves of its lower bound (low half in 'N'), and on load its 'DBL1'
// replaces whatever 'N' and 'M' said. 'DBL1' is written only for decimal
// range nodes, so for the other node types N and M are what 'N' and 'M'
// hold; a stray 'DBL1' there does not touch them.
#include <bit>

#include "container/Tags.h"
#include "container/Text.h"
#include "expr/ExprReader.h"
#include "expr/KindsNode.h"
#include "expr/KindsPattern.h"
#include "expr/NumberFormat.h"

namespace ovrix {

namespace {

using pattern::kTagNodeType, pattern::kTagBounds, pattern::kTagN, pattern::kTagM, pattern::kTagLow, pattern::kTagHigh,
    pattern::kTagSub;

const ExprItem_ValueList* ElementsOf(const PExprItem& node) { return dynamic_cast<const ExprItem_ValueList*>(node.Item()); }

// The elements' display texts joined by the separator (no parentheses).
std::u16string JoinElements(const PExprItem& sub, std::u16string_view separator) {
    const ExprItem_ValueList* list = ElementsOf(sub);
    if (list == nullptr) return NodeText(sub, false);
    std::u16string out;
    for (size_t i = 0; i < list->elements.size(); ++i) {
        if (i > 0) out += separator;
        out += NodeText(list->elements[i], false);
    }
    return out;
}

// The halves of a decimal bound's bits, as the shared storage lays them out.
int32_t LowHalf(double value) { return static_cast<int32_t>(static_cast<uint32_t>(std::bit_cast<uint64_t>(value))); }
int32_t HighHalf(double value) { return static_cast<int32_t>(static_cast<uint32_t>(std::bit_cast<uint64_t>(value) >> 32)); }

bool IsGroup(const PExprItem& node) {
    const auto* p = dynamic_cast<const ExprItem_RegExpr*>(node.Item());
    if (p == nullptr || (p->nodeType != pattern::kSequence && p->nodeType != pattern::kAlternation)) return false;
    const ExprItem_ValueList* list = ElementsOf(p->sub);
    return list != nullptr && list->elements.size() > 1;
}

}  // namespace

bool ExprItem_RegExpr::Walk(ExprWalkFn callback, void* context) {
    if (!callback(this, context)) return false;
    return !sub || sub->Walk(callback, context);
}

std::u16string ExprItem_RegExpr::GetDisplayText() const {
    const bool group = IsGroup(sub);
    const std::u16string s = NodeText(sub, false);
    // The sub-node followed by a suffix, in parentheses when it is a group.
    auto repeat = [&](std::u16string_view suffix) {
        return group ? u"(" + s + u")" + std::u16string(suffix) : s + std::u16string(suffix);
    };
    switch (nodeType) {
        case pattern::kLiteral: return text;
        case pattern::kSequence: return JoinElements(sub, u"");
        case pattern::kClass: return u"[" + text + u"]";
        case pattern::kNegatedClass: return u"[^" + text + u"]";
        case pattern::kAlternation: return JoinElements(sub, u"|");
        case pattern::kUpToLiteral: return repeat(text);
        case pattern::kZeroOrMore: return repeat(u"*");
        case pattern::kOneOrMore: return repeat(u"+");
        case pattern::kOptional: return repeat(u"?");
        case pattern::kRange: return repeat(u"{" + Decimal(n) + u"," + Decimal(m) + u"}");
        case pattern::kExactly: return repeat(u"{" + Decimal(n) + u"}");
        case pattern::kAtLeast: return repeat(u"{" + Decimal(n) + u",}");
        case pattern::kIntegerIn:
            return u"{" + ((boundFlags & 1) ? Decimal(n) : u"") + u"-" + ((boundFlags & 2) ? Decimal(m) : u"") + u"}";
        case pattern::kDecimalIn: return u"{" + PlainNumberText(low) + u"-" + PlainNumberText(high) + u"}";
        case pattern::kRest: return u"*";
        default: return u"???";
    }
}

void ExprItem_RegExpr::Save(RecordBuffer& buffer) const {
    ExprItem::Save(buffer);
    WriteU32(buffer, kTagNodeType, static_cast<uint32_t>(nodeType));
    WriteU32(buffer, kTagBounds, boundFlags);
    const bool decimal = nodeType == pattern::kDecimalIn;
    WriteU32(buffer, kTagN, static_cast<uint32_t>(decimal ? LowHalf(low) : n));
    WriteU32(buffer, kTagM, static_cast<uint32_t>(decimal ? HighHalf(low) : m));
    if (decimal) {
        WriteF64(buffer, kTagLow, low);
        WriteF64(buffer, kTagHigh, high);
    }
    if (!text.empty()) WriteString(buffer, tag::kText, text);
    SaveSubNode(buffer, kTagSub, sub);
}

void ExprItem_RegExpr::Load(Region region) {
    nodeType = static_cast<int32_t>(ReadU32(region, kTagNodeType, 0));
    boundFlags = ReadU32(region, kTagBounds, 0);
    n = static_cast<int32_t>(ReadU32(region, kTagN, 0));
    m = static_cast<int32_t>(ReadU32(region, kTagM, 0));
    const double storedLow = ReadF64(region, kTagLow, 0.0);
    high = ReadF64(region, kTagHigh, 0.0);
    low = 0.0;
    if (nodeType == pattern::kDecimalIn) {
        low = storedLow;
        n = LowHalf(low);
        m = HighHalf(low);
    }
    text = ReadString(region, tag::kText, u"");
    sub = ReadSubNode(region, kTagSub);
}

PExprItem ExprItem_RegExpr::Clone() const {
    auto* copy = new ExprItem_RegExpr();
    copy->nodeType = nodeType;
    copy->boundFlags = boundFlags;
    copy->n = n;
    copy->m = m;
    copy->low = low;
    copy->high = high;
    copy->text = text;
    copy->sub = sub;
    return PExprItem::Of(copy);
}

}  // namespace ovrix
