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

}  // namespace ovrix
