// The calculator and solver family: evaluating an arithmetic text with the
// separate calculator, and the polynomial solver object with its members.
// Every failure gives no value; nothing raises a script error.
#include <vector>

#include "builtins/Calculator.h"
#include "builtins/EquationSolver.h"
#include "builtins/FamilyTable.h"
#include "expr/KindsObject.h"
#include "expr/KindsValue.h"

namespace ovrix {

namespace {

using namespace fnargs;

PExprItem* CalculateExpression(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    const std::u16string text = CalculatorText(Text(args, count, 0));
    XCalc calc;
    double value = 0.0;
    if (text.empty() || !calc.Calculate(text, value)) return None(result);
    return ReturnNumber(result, value);
}

PExprItem* CreateSolver(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    const std::u16string equation = Text(args, count, 0);
    if (!IsSolverEquation(equation)) return None(result);
    const bool scientific = count > 1 && AsTruth(args[1]);
    return ReturnValue(result, MakeItem<ExprItem_Solver>(equation, scientific ? 1u : 0u));
}

ExprItem_Solver* SolverOf(int32_t count, PExprItem* args) { return count > 0 ? ItemAs<ExprItem_Solver>(args[0]) : nullptr; }

std::u16string VariableOf(int32_t count, PExprItem* args) { return count > 1 ? AsText(args[1]) : u"x"; }

PExprItem* Expand(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    const ExprItem_Solver* solver = SolverOf(count, args);
    std::u16string text;
    if (solver == nullptr ||
        !ExpandEquation(solver->equation, VariableOf(count, args), solver->unknowns, solver->mode != 0, text)) {
        return None(result);
    }
    return ReturnText(result, text);
}

PExprItem* Solve(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    const ExprItem_Solver* solver = SolverOf(count, args);
    std::vector<double> roots;
    if (solver == nullptr ||
        !SolveEquation(solver->equation, VariableOf(count, args), solver->unknowns, solver->tolerance, roots)) {
        return None(result);
    }
    PExprItem array = MakeItem<AnyArray>();
    for (double root : roots) ItemAs<AnyArray>(array)->Push(MakeItem<ExprItem_Num>(root));
    return ReturnValue(result, array);
}

// Set s.Name = Value: the value's number under the member's name.
PExprItem* SetVariable(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    if (ExprItem_Solver* solver = count >= 3 ? SolverOf(count, args) : nullptr) {
        solver->unknowns[AsText(args[1])] = AsNumber(args[2]);
    }
    return None(result);
}

const ArgSpec kSolver{u"Solver", fkind::kObject, {}, 0, u"Solver Solver"};
const ArgSpec kVariableX{u"Variable", fkind::kText, DefText(u"x")};

const FunctionSpec kCalculator[] = {
    {u"CalculateExpression", fkind::kNumber, CalculateExpression, {{u"MathExpression", fkind::kText}}},
    {u"CreateSolver", fkind::kObject, CreateSolver,
     {{u"Equation", fkind::kText, DefText(u"x^2 - 2*x + 1 = 0")},
      {u"ScientificMode", fkind::kBool, DefBool(false)}},
     u"Solver", nullptr, u"<Solver>"},
    {u"<Solver.Expand>", fkind::kText, Expand, {kSolver, kVariableX}, nullptr, nullptr, nullptr, true, u"Expand"},
    {u"<Solver.Solve>", fkind::kObject, Solve, {kSolver, kVariableX}, u"Array", nullptr, nullptr, true, u"Solve"},
    {u"<Solver.SetVariable>", fkind::kNothing, SetVariable,
     {kSolver, {u"Variable", fkind::kMember}, {u"Value", fkind::kAny}}, nullptr, nullptr, nullptr, true, nullptr,
     false, true},
};

}  // namespace

std::span<const FunctionSpec> CalculatorFunctions() { return kCalculator; }

}  // namespace ovrix
