// Applying the expression operators. An operator node evaluates its first
// operand, then its second, always both (side effects of either operand
// happen whatever the operator), and then combines the two results by the
// operator code. No operator fails: missing values read as empty text, 0
// and false, and division or remainder by zero yields 0.
#pragma once

#include <cstdint>

#include "expr/ExprHandle.h"

namespace ovrix {

// Evaluates an operator node with this code and these operands. A node
// whose second operand holds no value is unary: only minus (the difference
// code) yields a value, the negated number of the first operand.
PExprItem EvaluateOperator(uint32_t code, const PExprItem& first, const PExprItem& second);

// Combines two already evaluated values (either may be no value) by a
// binary operator code; an unknown code yields no value. A result may be
// one of the two handles itself (a sum with a missing side, a date plus
// zero days).
PExprItem ApplyOperator(uint32_t code, const PExprItem& left, const PExprItem& right);

// The value an operator node over numbers gives, without making it: its
// number, its display flags, and whether it is a Number (a Bool leaf is
// numeric but carries no flags into a sum).
struct NumberResult {
    double value = 0.0;
    uint32_t flags = 0;
    bool isNumber = false;
};

// Computes an operator node whose leaves are all constant Numbers or Bools
// or variables holding them, as EvaluateOperator would, into `out`; answers
// false for any other node. Such leaves have no side effects, so a false
// answer leaves the node to be evaluated the usual way.
bool TryNumberOperator(const ExprItem& node, NumberResult& out);

// The truth of a node's value (a condition): an operator node over numbers
// is decided without making its result.
bool EvaluateTruth(const PExprItem& node);

}  // namespace ovrix
