// Operator nodes: stored form and text forms. Every operand that is itself
// an operator node is parenthesised, whatever the precedence: the stored
// tree, not the text, fixes the grouping.
#include "expr/ExprReader.h"
#include "expr/KindsNode.h"
#include "expr/KindsValue.h"
#include "expr/Operators.h"

namespace ovrix {

namespace {

bool IsOperatorNode(const PExprItem& node) { return node && IsOperatorCode(node->Kind()); }

std::u16string OperandText(const PExprItem& node, bool marked) {
    std::u16string text = NodeText(node, marked);
    return IsOperatorNode(node) ? u"(" + text + u")" : text;
}

}  // namespace

std::u16string NodeText(const PExprItem& node, bool marked) {
    if (!node) return {};
    return marked ? node->GetMarkedText() : node->GetDisplayText();
}

std::u16string ExprItem_Operator2::Symbol(uint32_t code) {
    switch (code) {
        case op::kEqual: return u"==";
        case op::kNotEqual: return u"!=";
        case op::kLessEqual: return u"<=";
        case op::kGreaterEqual: return u">=";
        case op::kAnd: return u"and";
        case op::kOr: return u"or";
        default: return std::u16string(1, static_cast<char16_t>(code));
    }
}

std::u16string ExprItem_Operator2::Render(bool marked) const {
    if (IsUnary()) return Symbol(Kind()) + OperandText(operand1, marked);
    return OperandText(operand1, marked) + u" " + Symbol(Kind()) + u" " + OperandText(operand2, marked);
}

bool ExprItem_Operator2::Walk(ExprWalkFn callback, void* context) {
    if (!callback(this, context)) return false;
    if (operand1 && !operand1->Walk(callback, context)) return false;
    if (operand2 && !operand2->Walk(callback, context)) return false;
    return true;
}

// Only a node over leaves takes the number path here: a deeper node that
// fails it would be tried again at each level on the way down.
PExprItem ExprItem_Operator2::Evaluate() {
    NumberResult number;
    if (!IsOperatorNode(operand1) && !IsOperatorNode(operand2) && TryNumberOperator(*this, number))
        return MakeItem<ExprItem_Num>(number.value, number.flags);
    return EvaluateOperator(Kind(), operand1, operand2);
}

void ExprItem_Operator2::Save(RecordBuffer& buffer) const {
    ExprItem::Save(buffer);
    SaveSubNode(buffer, tag::kOperand1, operand1);
    SaveSubNode(buffer, tag::kOperand2, operand2);
}

void ExprItem_Operator2::Load(Region region) {
    operand1 = ReadSubNode(region, tag::kOperand1);
    operand2 = ReadSubNode(region, tag::kOperand2);
}

PExprItem ExprItem_Operator2::Clone() const {
    return MakeItem<ExprItem_Operator2>(Kind(), operand1 ? operand1->Clone() : PExprItem(),
                                        operand2 ? operand2->Clone() : PExprItem());
}

}  // namespace ovrix
