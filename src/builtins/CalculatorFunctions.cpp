// The calculator and solver family: evaluating an arithmetic text with the
// separate calculator, and the polynomial solver object with its members.
// The calculator and the solver are not built yet, so the rows are
// registered with no implementation: a call shows and saves as usual and
// evaluates to no value.
#include "builtins/FamilyTable.h"

namespace ovrix {

namespace {

const ArgSpec kSolver{u"Solver", fkind::kObject, {}, 0, u"Solver Solver"};
const ArgSpec kVariableX{u"Variable", fkind::kText, DefText(u"x")};

const FunctionSpec kCalculator[] = {
    {u"CalculateExpression", fkind::kNumber, nullptr, {{u"MathExpression", fkind::kText}}},
    {u"CreateSolver", fkind::kObject, nullptr,
     {{u"Equation", fkind::kText, DefText(u"x^2 - 2*x + 1 = 0")},
      {u"ScientificMode", fkind::kBool, DefBool(false)}},
     u"Solver", nullptr, u"<Solver>"},
    {u"<Solver.Expand>", fkind::kText, nullptr, {kSolver, kVariableX}, nullptr, nullptr, nullptr, true, u"Expand"},
    {u"<Solver.Solve>", fkind::kObject, nullptr, {kSolver, kVariableX}, u"Array", nullptr, nullptr, true, u"Solve"},
    {u"<Solver.SetVariable>", fkind::kNothing, nullptr,
     {kSolver, {u"Variable", fkind::kMember}, {u"Value", fkind::kAny}}, nullptr, nullptr, nullptr, true, nullptr,
     false, true},
};

}  // namespace

std::span<const FunctionSpec> CalculatorFunctions() { return kCalculator; }

}  // namespace ovrix
