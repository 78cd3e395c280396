// Operator nodes over numbers alone, computed without making a Number for
// each result. Loop conditions and counters (`$i < 100`, `$i + 1`) are this
// shape; each case here must give exactly what the operator families give
// for two numeric operands, and anything else is left to them.
#include <cmath>

#include "expr/ExprKinds.h"
#include "expr/KindsNode.h"
#include "expr/NumberFormat.h"
#include "expr/Operators.h"
#include "expr/OperatorsFamilies.h"
#include "expr/Variables.h"

namespace ovrix {

using namespace operators;

namespace {

// A Number or a Bool as a leaf of the computation.
bool NumericLeaf(const ExprItem* item, NumberResult& out) {
    if (item == nullptr) return false;
    if (const ExprItem_Num* number = AsNum(item)) {
        out = {number->value, number->flags, true};
        return true;
    }
    if (item->Kind() != kind::kBool) return false;
    out = {item->GetNumber(), 0, false};
    return true;
}

bool NumericOperand(const ExprItem* node, NumberResult& out) {
    if (node == nullptr) return false;
    switch (node->Kind()) {
        case kind::kNumber:
        case kind::kBool: return NumericLeaf(node, out);
        case kind::kVariable: {
            const auto* var = static_cast<const ExprItem_Var*>(node);
            return NumericLeaf(VariableItem(var->Name(), var->Slot()), out);
        }
        default: return IsOperatorCode(node->Kind()) && TryNumberOperator(*node, out);
    }
}

// The flags a sum of two Numbers keeps (as the sum family decides them).
uint32_t SumFlags(const NumberResult& l, const NumberResult& r) {
    if (!l.isNumber || !r.isNumber) return 0;
    const uint32_t shared = l.flags & r.flags;
    if (shared & numflag::kHex) return numflag::kHex;
    if (shared & numflag::kExponent) return numflag::kExponent;
    return 0;
}

double Truth(bool holds) { return holds ? 1.0 : 0.0; }

bool Combine(uint32_t code, double l, double r, double& value) {
    switch (code) {
        case op::kDifference: value = l - r; return true;
        case op::kProduct: value = l * r; return true;
        case op::kQuotient: value = r == 0.0 ? 0.0 : l / r; return true;
        case op::kPower: value = std::pow(l, r); return true;
        case op::kLess: value = Truth(l < r); return true;
        case op::kGreater: value = Truth(l > r); return true;
        case op::kLessEqual: value = Truth(l <= r); return true;
        case op::kGreaterEqual: value = Truth(l >= r); return true;
        case op::kEqual: value = Truth(l == r); return true;
        case op::kNotEqual: value = Truth(l != r); return true;
        case op::kAnd: value = Truth(l != 0.0 && r != 0.0); return true;
        case op::kOr: value = Truth(l != 0.0 || r != 0.0); return true;
        default: return false;
    }
}

}  // namespace

bool TryNumberOperator(const ExprItem& node, NumberResult& out) {
    const auto& op2 = static_cast<const ExprItem_Operator2&>(node);
    const uint32_t code = node.Kind();
    NumberResult left;
    if (!NumericOperand(op2.operand1.Item(), left)) return false;
    if (!op2.operand2) {
        if (code != op::kDifference) return false;
        out = {-left.value, 0, true};
        return true;
    }
    NumberResult right;
    if (!NumericOperand(op2.operand2.Item(), right)) return false;
    if (code == op::kSum) {
        out = {left.value + right.value, SumFlags(left, right), true};
        return true;
    }
    double value = 0.0;
    if (!Combine(code, left.value, right.value, value)) return false;
    out = {value, 0, true};
    return true;
}

bool EvaluateTruth(const PExprItem& node) {
    const ExprItem* item = node.Item();
    if (item == nullptr) return false;
    NumberResult result;
    if (IsOperatorCode(item->Kind()) && TryNumberOperator(*item, result)) return result.value != 0.0;
    return AsTruth(node->Evaluate());
}

}  // namespace ovrix
