// Operator evaluation: operand evaluation order and the table from operator
// code to the function of its family. The families themselves live in
// OperatorsArithmetic.cpp and OperatorsCompare.cpp.
#include "expr/Operators.h"

#include "expr/ExprKinds.h"
#include "expr/OperatorsFamilies.h"
#include "expr/Variables.h"

namespace ovrix {

using namespace operators;

namespace {

struct OperatorEntry {
    uint32_t code;
    OperatorFn apply;
};

constexpr OperatorEntry kOperators[] = {
    {op::kSum, Sum},
    {op::kDifference, Difference},
    {op::kProduct, Product},
    {op::kQuotient, Quotient},
    {op::kRemainder, Remainder},
    {op::kPower, Power},
    {op::kEqual, Equal},
    {op::kNotEqual, NotEqual},
    {op::kLess, Less},
    {op::kGreater, Greater},
    {op::kLessEqual, LessEqual},
    {op::kGreaterEqual, GreaterEqual},
    {op::kAnd, And},
    {op::kOr, Or},
};

// The arithmetic codes are characters below 128 and the others follow 1024:
// two small direct tables built once from the list above.
struct OperatorIndex {
    OperatorFn low[128] = {};
    OperatorFn high[8] = {};

    OperatorIndex() {
        for (const OperatorEntry& entry : kOperators) {
            if (entry.code < 128) low[entry.code] = entry.apply;
            else if (entry.code - op::kEqual < 8) high[entry.code - op::kEqual] = entry.apply;
        }
    }
};

const OperatorIndex kIndex;

OperatorFn FindOperator(uint32_t code) {
    if (code < 128) return kIndex.low[code];
    if (code - op::kEqual < 8) return kIndex.high[code - op::kEqual];
    return nullptr;
}

// Constants of these kinds evaluate to themselves (the base Evaluate): the
// node's own handle can stand in for the fresh one Evaluate would make.
bool EvaluatesToItself(const ExprItem* item) {
    switch (item->Kind()) {
        case kind::kNumber:
        case kind::kText:
        case kind::kBool:
        case kind::kEmpty:
        case kind::kHex:
        case kind::kDateTime:
        case kind::kTimeSpan: return true;
        default: return false;
    }
}

Operand EvaluateOperand(const PExprItem& node) {
    ExprItem* item = node.Item();
    if (item == nullptr) return {};
    if (EvaluatesToItself(item)) return {node, true, {}};
    if (item->Kind() == kind::kVariable) {
        const auto* var = static_cast<const ExprItem_Var*>(item);
        return {PExprItem(), false, Ref<ExprItem>(VariableItem(var->Name(), var->Slot()))};
    }
    return {item->Evaluate(), false, {}};
}

PExprItem ApplyTo(uint32_t code, const Operand& left, const Operand& right) {
    const OperatorFn apply = FindOperator(code);
    return apply != nullptr ? apply(left, right) : PExprItem();
}

}  // namespace

PExprItem EvaluateOperator(uint32_t code, const PExprItem& first, const PExprItem& second) {
    if (!second) {
        const Operand operand = EvaluateOperand(first);
        if (code != op::kDifference) return {};
        return MakeNumber(-operand.Number());
    }
    // Both operands, first one first, before the operator looks at either.
    const Operand left = EvaluateOperand(first);
    const Operand right = EvaluateOperand(second);
    return ApplyTo(code, left, right);
}

PExprItem ApplyOperator(uint32_t code, const PExprItem& left, const PExprItem& right) {
    return ApplyTo(code, Operand{left, false, {}}, Operand{right, false, {}});
}

}  // namespace ovrix
