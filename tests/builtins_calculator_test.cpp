// The calculator and the equation solver: the calculator's rules as a
// script meets them through CalculateExpression, the solver against
// polynomials built from known roots, and the family played in a script.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include "SimFixture.h"
#include "ScriptTestSupport.h"
#include "builtins/CalcGrammar.h"
#include "builtins/Calculator.h"
#include "builtins/EquationSolver.h"
#include "builtins/Registry.h"
#include "builtins_test_support.h"
#include "container/Text.h"
#include "expr/KindsObject.h"

namespace ovrix {
namespace {

using namespace testing_builtins;
constexpr double kFails = -12345.678;  // stands for "no value" in the tables

PExprItem Solver(std::u16string equation, bool scientific = false) {
    return Call(u"CreateSolver", {Text(std::move(equation)), MakeItem<ExprItem_Bool>(scientific)});
}

std::vector<double> Roots(const PExprItem& solver, std::u16string variable = u"x") {
    const PExprItem array = CallImpl(u"<Solver.Solve>", {solver, Text(std::move(variable))});
    std::vector<double> out;
    if (!array) return {kFails};
    for (const PExprItem& root : ItemAs<AnyArray>(array)->elements) out.push_back(AsNumber(root));
    return out;
}

TEST(Calculator, PrecedenceNumbersNamesAndFailures) {
    const struct { const char16_t* text; double expected; } rows[] = {
        // Levels: "*" looser than "/", left-associative powers, signs tightest.
        {u"2+3*4", 14}, {u"(2+3)*4", 20}, {u"2^3^2", 64}, {u"-2^2", 4}, {u"2/4*2", 1}, {u"1-2-3", -4},
        {u"2--3", 5}, {u"2^-1", 0.5}, {u"1+2)*5", 3},
        // What the text goes through first: commas, blanks, the first line only.
        {u"1,000+1", 1001}, {u" 1 +\t2 ", 3}, {u"3\r\n+4", 3}, {u"log(2,8)", kFails}, {u"", kFails},
        // Numbers.
        {u"0xFFFFFFFF", 4294967295.0}, {u"0x7fffffff", 2147483647}, {u"1.5e2", 150}, {u"2.", 2}, {u"1e", kFails},
        {u"1e+", kFails}, {u"0x", kFails}, {u".5", kFails}, {u"1e999", HUGE_VAL},
        // Constants, variables, assignments.
        {u"2*pi", 6.283185307179586}, {u"\u03C0", std::numbers::pi}, {u"e", std::numbers::e}, {u"Pi", kFails},
        {u"x=3;x*2", 6}, {u"a=2;b=a*3;a+b", 8}, {u"1+x=3;x", 4}, {u"PI=3;1", kFails}, {u"x=3", kFails}, {u"y", kFails},
        // Functions, by lower-cased name.
        {u"sqrt(16)+abs(-2)", 6}, {u"SQRT(4)", 2}, {u"lg(1000)", 3}, {u"ln(e)", 1}, {u"floor(-1.5)", -2},
        {u"ceil(1.2)", 2}, {u"cosh(0)", 1}, {u"foo(1)", kFails}, {u"sqrt(4", kFails}, {u"sqrt()", kFails},
        // Failures and what is no failure.
        {u"2+", kFails}, {u"(1", kFails}, {u"$", kFails}, {u"1/0", HUGE_VAL},
    };
    for (const auto& row : rows) {
        const PExprItem result = Call(u"CalculateExpression", {Text(row.text)});
        if (row.expected == kFails) {
            EXPECT_FALSE(result) << ToUtf8(row.text);
        } else {
            ASSERT_TRUE(result) << ToUtf8(row.text);
            EXPECT_EQ(result->Kind(), kind::kNumber);
            EXPECT_DOUBLE_EQ(AsNumber(result), row.expected) << ToUtf8(row.text);
        }
    }
}

TEST(Calculator, TwoArgumentFunctionsScientificFlagAndNesting) {
    XCalc calc;
    double v = 0;
    for (auto [text, expected] : {std::pair<const char16_t*, double>{u"log(2,8)", 3}, {u"mod(7,3)", 1},
                                  {u"atan2(1,1)", std::numbers::pi / 4}}) {
        ASSERT_TRUE(calc.Calculate(text, v)) << ToUtf8(text);
        EXPECT_DOUBLE_EQ(v, expected) << ToUtf8(text);
    }
    EXPECT_FALSE(calc.Calculate(u"mod(7)", v));
    EXPECT_FALSE(calc.Calculate(u"sqrt(4,1)", v));
    EXPECT_EQ(calc.scientific, 0u);
    EXPECT_TRUE(calc.Calculate(u"2e3", v));
    EXPECT_EQ(calc.scientific, 1u);

    // Deep nesting is refused, never a crash; ordinary depths read.
    const auto nested = [](int depth) { return std::u16string(depth, u'(') + u"1" + std::u16string(depth, u')'); };
    EXPECT_TRUE(calc.Calculate(nested(kMaxCalcNesting - 1), v));
    EXPECT_FALSE(calc.Calculate(nested(kMaxCalcNesting), v));
    EXPECT_FALSE(calc.Calculate(nested(20000), v));
    EXPECT_EQ(Roots(Solver(u"x=" + nested(20000))), std::vector{kFails});
}

// Polynomials with known, distinct roots: built as products of factors,
// solved in both modes, then expanded and solved again.
TEST(EquationSolver, FindsTheRootsPolynomialsWereBuiltFrom) {
    std::mt19937 random(15);
    for (int trial = 0; trial < 150; ++trial) {
        std::vector<double> roots;
        const int count = 1 + static_cast<int>(random() % 6);
        while (static_cast<int>(roots.size()) < count) {
            const double r = (static_cast<int>(random() % 81) - 40) / 2.0;
            if (std::all_of(roots.begin(), roots.end(), [r](double s) { return std::fabs(r - s) >= 0.5; })) {
                roots.push_back(r);
            }
        }
        std::sort(roots.begin(), roots.end());
        std::u16string equation;
        for (double r : roots) equation += u"(x-(" + Widen(std::to_string(r)) + u"))*";
        equation += u"3=0";
        for (bool scientific : {false, true}) {
            const PExprItem solver = Solver(equation, scientific);
            const std::vector<double> found = Roots(solver);
            ASSERT_EQ(found.size(), roots.size()) << ToUtf8(equation);
            for (size_t i = 0; i < roots.size(); ++i) EXPECT_NEAR(found[i], roots[i], 1e-7) << ToUtf8(equation);
            // Divided by a factor with a root of its own: the same roots.
            const std::u16string fraction = u"(" + equation.substr(0, equation.size() - 2) + u")/(x-(" +
                                            Widen(std::to_string(roots.back() + 0.25)) + u"))=0";
            EXPECT_EQ(Roots(Solver(fraction, scientific)).size(), roots.size()) << ToUtf8(fraction);
            if (scientific) continue;  // six significant digits: not exact
            const std::u16string expanded = AsText(CallImpl(u"<Solver.Expand>", {solver, Text(u"x")}));
            EXPECT_EQ(Roots(Solver(expanded)), found) << ToUtf8(expanded);
        }
    }
}

// Random integer polynomials of three terms or more: every root found is
// one, and every sign change on a fine grid over Cauchy's bound lies next
// to a root found.
TEST(EquationSolver, RealRootsMissNoSignChange) {
    std::mt19937 random(7);
    for (int trial = 0; trial < 300; ++trial) {
        std::vector<double> c(3 + random() % 7);
        for (double& v : c) v = static_cast<int>(random() % 21) - 10;
        if (c.back() == 0) c.back() = 1;
        // a·x^n + b gives only its positive root by rule; the search proper needs three terms.
        if (std::count(c.begin(), c.end(), 0.0) + 3 > static_cast<ptrdiff_t>(c.size())) continue;
        const auto at = [&c](double x, bool sizes) {
            double sum = 0;
            for (size_t i = c.size(); i-- > 0;) sum = sum * (sizes ? std::fabs(x) : x) + (sizes ? std::fabs(c[i]) : c[i]);
            return sum;
        };
        double bound = 0;
        for (double v : c) bound = std::max(bound, std::fabs(v / c.back()));
        bound += 1;
        for (double tolerance : {1e-7, 1e-100}) {
            std::vector<double> roots;
            ASSERT_TRUE(RealRoots(c, tolerance, roots));
            for (double r : roots) EXPECT_LE(std::fabs(at(r, false)), 1e-6 * std::max(1.0, at(r, true))) << trial << " root " << r;
            const double step = 1.0 / 512;
            for (double x = -bound; x < bound; x += step) {
                if (at(x, false) * at(x + step, false) >= 0) continue;
                // A cell either side: with the x87's wider arithmetic a root on
                // a cell's edge may be found just across it.
                const auto near = [&](double r) { return r >= x - step && r <= x + 2 * step; };
                EXPECT_TRUE(std::any_of(roots.begin(), roots.end(), near)) << trial << " sign change at " << x;
            }
        }
    }
}

TEST(EquationSolver, RootRulesVariablesAndRefusals) {
    const struct { const char16_t* equation; std::vector<double> roots; } rows[] = {
        {u"x^2-4=0", {2}},  // a·x^n + b: only the positive root
        {u"3*x^5=0", {0}}, {u"x^2 - 2*x + 1 = 0", {1}}, {u"x^2+1=0", {}}, {u"x^3+8=0", {-2}}, {u"x=5", {5}},
        {u"7=0", {}}, {u"x-x=0", {}}, {u"(x-0.1)^2*(x+3)=0", {-3, 0.1}}, {u"x^3-6*x^2+11*x-6=0", {1, 2, 3}},
        {u"x^3 + x + 1 = 0", {-0.6823278038280193}}, {u"1e-3*(x-1e3)*(x+2e3)=0", {-2000, 1000}},
        // Fractions and negative powers: no roots where the equation is undefined.
        {u"(x^2+x)/(x+1)=0", {0}}, {u"(x^2-1)/(x-1)=0", {}}, {u"1/x=0", {}}, {u"x^-1 - 2 = 0", {0.5}}, {u"x/(x+1) = 2/(x+1)+x-3", {(1 - std::sqrt(21.0)) / 2, (1 + std::sqrt(21.0)) / 2}},
        {u"(x+1)^-2*(x-4)=0", {4}}, {u"1/(x-1) + 1/(x+1) = 0", {0}}, {u"1/(x-1) + 1/(1-x) + x = 0", {0}},
        // Refused: not read whole, non-constant or fractional powers, too high a degree to search.
        {u"2x=1", {kFails}}, {u"x^x=1", {kFails}}, {u"x^0.5=2", {kFails}}, {u"z=1", {kFails}},
        {u"x^70+x+1=0", {kFails}}, {u"(x+1)^1001=0", {kFails}}, {u"((x+1)/(x+2)+x)^40=0", {kFails}},
    };
    for (const auto& row : rows) {
        std::vector<double> found = Roots(Solver(row.equation));
        ASSERT_EQ(found.size(), row.roots.size()) << ToUtf8(row.equation);
        for (size_t i = 0; i < found.size(); ++i) EXPECT_NEAR(found[i], row.roots[i], 1e-9) << ToUtf8(row.equation);
    }
    // Other letters take the values set on the solver; the unknown is any name.
    PExprItem s = Solver(u"a*y^2 - b = 0");
    EXPECT_EQ(Roots(s, u"y"), std::vector{kFails});
    CallImpl(u"<Solver.SetVariable>", {s, MakeItem<ExprItem_Member>(u"a"), Num(2)});
    CallImpl(u"<Solver.SetVariable>", {s, MakeItem<ExprItem_Member>(u"b"), Text(u"18")});
    CallImpl(u"<Solver.SetVariable>", {s, MakeItem<ExprItem_Member>(u"c")});  // too few: nothing
    EXPECT_EQ(Roots(s, u"y"), std::vector<double>{3});
    EXPECT_EQ(AsText(CallImpl(u"<Solver.Expand>", {s, Text(u"y")})), u"2*x^2 - 18 = 0");
    EXPECT_EQ(Roots(s, u"b"), std::vector{kFails});  // y unknown now
    EXPECT_FALSE(CallImpl(u"<Solver.Solve>", {Num(1)}));

    for (const char16_t* bad : {u"x+1", u"x=", u"x=$1", u"x=1,5", u"x=\u03C0"}) EXPECT_FALSE(Solver(bad)) << ToUtf8(bad);
}

TEST(EquationSolver, ExpandedTexts) {
    const struct { const char16_t* equation; bool scientific; const char16_t* text; } rows[] = {
        {u"x^2 - 2*x + 1 = 0", false, u"x^2 - 2*x + 1 = 0"},
        {u"x^2 - 2*x + 1 = 0", true, u"x^2 - 2E+0*x + 1E+0 = 0"},
        {u"-x^2+0.5*x=3", false, u"x^2 + 0.5*x - 3 = 0"},  // signs bind tightest: (-x)^2
        {u"-1*x^2+0.5*x=3", false, u"-x^2 + 0.5*x - 3 = 0"},
        {u"(x+1)^3=0", false, u"x^3 + 3*x^2 + 3*x + 1 = 0"},
        {u"1.25e-5*x=120", true, u"1.25E-5*x - 1.2E+2 = 0"},
        {u"1e100*x^2=1e-300", true, u"1E+100*x^2 - 1E-300 = 0"},
        {u"3*x*(1/(x+1))=0", false, u"3*x*1/(x + 1) = 0"},
        {u"x/(x+1)=1", false, u"-1 + x/(x + 1) = 0"},
        {u"((x+1)/(x+2)+x)^2=0", false, u"x^2 + 2*x*(x + 1)/(x + 2) + (x^2 + 2*x + 1)/(x^2 + 4*x + 4) = 0"},
        {u"2*x^-1=0.0000001", false, u"-0 + 2*x^-1 = 0"},  // %f keeps six places
        {u"x=x", false, u"0 = 0"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(AsText(CallImpl(u"<Solver.Expand>", {Solver(row.equation, row.scientific), Text(u"x")})), row.text)
            << ToUtf8(row.equation);
    }
}

// The family as a script uses it: a solver kept in a variable, a letter set
// with "Set s.a = 6", the roots printed.
TEST(EquationSolver, PlayedInAScript) {
    SimFixture f;
    scripttest::ClearLog();
    auto step = [](PExprItem code) {
        auto s = scripttest::Step<SetVarEvent>(0);
        s->code = scripttest::Stored(code);
        return Ref<Event>(s);
    };
    const PExprItem solver = Variable(u"$s");
    const PExprItem print = LoadCall(u"Array_Print", {LoadCall(u"<Solver.Solve>", {solver}), Num(0), Num(0),
                                                      MakeItem<ExprItem_Bool>(true)});
    f.PlaySteps({scripttest::Set(u"$s", LoadCall(u"CreateSolver", {Text(u"x^3 - a*x^2 + 11*x - 6 = 0")})),
                 step(LoadCall(u"<Solver.SetVariable>", {solver, MakeItem<ExprItem_Member>(u"a"), Num(6)})),
                 scripttest::Log(LoadCall(u"<Solver.Expand>", {solver})), scripttest::Log(u";"), scripttest::Log(print),
                 scripttest::Log(LoadCall(u"CalculateExpression", {Text(u"x=3;x*2")}))});
    EXPECT_EQ(scripttest::LogText(), "x^3 - 6*x^2 + 11*x - 6 = 0;1\r\n2\r\n3\r\n6");
}

}  // namespace
}  // namespace ovrix
