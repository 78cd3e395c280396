#include "builtins/EquationSolver.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "builtins/CalcGrammar.h"
#include "builtins/Calculator.h"

namespace ovrix {

namespace {

// The grammar's host with polynomials in one unknown as values; names and
// functions are the calculator's.
class PolynomialHost {
public:
    using Value = Polynomial;

    PolynomialHost(std::u16string_view variable, const SolverVariables& variables)
        : variable_(variable), variables_(variables) {}

    bool IsNameStart(char16_t ch) const { return calc_.IsNameStart(ch); }
    bool IsNameChar(char16_t ch) const { return calc_.IsNameChar(ch); }
    bool Number(double value, bool, Polynomial& out) {
        out = Polynomial::Constant(value);
        return true;
    }
    bool Lookup(const std::u16string& name, Polynomial& out) const {
        double value = 0.0;
        if (name == variable_) {
            out = Polynomial::Monomial(1.0, 1);
        } else if (calc_.Lookup(name, value)) {
            out = Polynomial::Constant(value);
        } else if (const auto it = variables_.find(name); it != variables_.end()) {
            out = Polynomial::Constant(it->second);
        } else {
            return false;
        }
        return true;
    }
    // Equations hold no "=" by the time they are read.
    bool Assign(const std::u16string&, const Polynomial&) { return false; }
    bool CallFunction(const std::u16string& name, const std::vector<Polynomial>& arguments, Polynomial& out) const {
        std::vector<double> values(arguments.size());
        for (size_t i = 0; i < arguments.size(); ++i) {
            if (!arguments[i].IsConstant(values[i])) return false;
        }
        double result = 0.0;
        if (!calc_.CallFunction(name, values, result)) return false;
        out = Polynomial::Constant(result);
        return true;
    }
    bool Apply(char16_t op, Polynomial& left, const Polynomial& right) {
        switch (op) {
            case u'+': return arithmetic.Add(left, right);
            case u'-': return arithmetic.Add(left, right, -1.0);
            case u'*': return arithmetic.Multiply(left, right, left);
            case u'/': return arithmetic.Divide(left, right, left);
            default: return arithmetic.Power(left, right, left);
        }
    }
    bool Negate(Polynomial& value) {
        Polynomial negated;
        if (!arithmetic.Add(negated, value, -1.0)) return false;
        value = std::move(negated);
        return true;
    }

    // Shared with clearing the fractions of the same equation.
    PolyArithmetic arithmetic;

private:
    XCalc calc_;
    std::u16string_view variable_;
    const SolverVariables& variables_;
};

// A polynomial in dense form with what the root search asks of it.
struct Dense {
    std::vector<double> c;  // c[i] is the coefficient of x^i; the last is not 0

    int32_t Degree() const { return static_cast<int32_t>(c.size()) - 1; }
    double At(double x) const {
        double sum = 0.0;
        for (size_t i = c.size(); i-- > 0;) sum = sum * x + c[i];
        return sum;
    }
    // How far rounding may have carried At(x) from the exact value: the
    // classic bound for Horner's rule, 2n units of the last place of the
    // sum of the terms' sizes.
    double RoundingBound(double x) const {
        double sum = 0.0;
        for (size_t i = c.size(); i-- > 0;) sum = sum * std::fabs(x) + std::fabs(c[i]);
        return (2.0 * Degree() + 2.0) * DBL_EPSILON * sum;
    }
    // The sign of P(x), 0 where P(x) is 0 within its rounding.
    int Sign(double x) const {
        const double v = At(x);
        if (std::fabs(v) <= RoundingBound(x)) return 0;
        return v > 0 ? 1 : -1;
    }
    int SignAtInfinity(bool positive) const {
        const int lead = c.back() > 0 ? 1 : -1;
        return positive || Degree() % 2 == 0 ? lead : -lead;
    }
    Dense Derivative() const {
        Dense d;
        for (size_t i = 1; i < c.size(); ++i) d.c.push_back(static_cast<double>(i) * c[i]);
        return d;
    }
};

// Newton's method on one monotone piece needs a bound, since the
// scientific tolerance (1e-100) lies below the spacing of doubles near
// almost every root and a plain loop might step between two neighbours
// forever. Here each step keeps a bracket around the root and falls back
// to halving it whenever Newton would leave it, has not halved it within
// two steps, or takes a step that is not finite (the bracket makes
// abandoning the piece unnecessary), so the bracket halves at least every
// third step. The search also ends when a step is below the tolerance, when
// the value is 0 within its rounding, or when no double is left between
// the bracket's ends.
// Halving the widest finite bracket (2^1025) down to two neighbouring
// doubles takes at most about 2,100 halvings (down to 2^-1074), hence
// three times that. In practice a root settles in well under 60 steps.
constexpr int32_t kMaxNewtonSteps = 3 * 2100;

// Widens an infinite end of a piece by doubling steps from `anchor` until
// the polynomial takes the sign it has at that infinity; tightens the other
// end on the way. False when the walk runs out of finite numbers.
bool FiniteEnd(const Dense& p, double anchor, double direction, int wanted, double& end, double& other) {
    for (double k = 10.0;; k *= 2.0) {
        const double x = anchor + direction * k;
        if (!std::isfinite(x)) return false;
        const int s = p.Sign(x);
        if (s == wanted || s == 0) {
            end = x;
            return true;
        }
        other = x;
    }
}

// The root of p in the piece (lo, hi), where p is monotone and its ends
// have the opposite signs left and -left.
bool RootInPiece(const Dense& p, const Dense& slope, double lo, double hi, double start, int left, double tolerance,
                 double& root) {
    const double lowEnd = lo;
    if (!std::isfinite(lo) && !FiniteEnd(p, std::isfinite(hi) ? hi : 0.0, -1.0, left, lo, hi)) return false;
    if (!std::isfinite(hi) && !FiniteEnd(p, std::isfinite(lowEnd) ? lowEnd : 0.0, 1.0, -left, hi, lo)) return false;
    for (double end : {lo, hi}) {
        if (p.Sign(end) == 0) {
            root = end;
            return true;
        }
    }
    double x = (lo < start && start < hi) ? start : lo / 2 + hi / 2;
    double lastHalving = hi - lo;
    int32_t sinceHalving = 0;
    for (int32_t step = 0; step < kMaxNewtonSteps; ++step) {
        const double fx = p.At(x);
        if (std::isnan(fx)) return false;
        const int s = p.Sign(x);
        if (s == 0) break;
        (s == left ? lo : hi) = x;
        if (hi - lo <= lastHalving / 2) {
            lastHalving = hi - lo;
            sinceHalving = 0;
        } else {
            ++sinceHalving;
        }
        double next = x - fx / slope.At(x);
        if (!std::isfinite(next) || next <= lo || next >= hi || sinceHalving > 2) next = lo / 2 + hi / 2;
        if (next <= lo || next >= hi) break;  // lo and hi are neighbouring doubles
        const bool small = std::fabs(next - x) < tolerance;
        x = next;
        if (small) break;
    }
    root = x;
    return true;
}

bool RootsOf(const Dense& p, double tolerance, std::vector<double>& roots) {
    const int32_t n = p.Degree();
    roots.clear();
    int32_t nonZero = 0;
    for (double c : p.c) nonZero += c != 0.0 ? 1 : 0;
    // k·x^n: the root 0 for n > 0, none for a constant.
    if (nonZero == 1) {
        if (n > 0) roots.push_back(0.0);
        return true;
    }
    // a·x^n + b: v = -b/a, one root v^(1/n) (for odd n also when v < 0).
    if (nonZero == 2 && p.c[0] != 0.0) {
        const double v = -p.c[0] / p.c[n];
        if (v >= 0) {
            roots.push_back(std::pow(v, 1.0 / n));
        } else if (n % 2 == 1) {
            roots.push_back(-std::pow(-v, 1.0 / n));
        }
        return true;
    }
    // The derivative's roots cut the line into pieces on which p is
    // monotone; a piece holds a root when its ends differ in sign.
    if (n > kMaxSolveDegree) return false;
    const Dense slope = p.Derivative();
    std::vector<double> turns;
    if (!RootsOf(slope, tolerance, turns)) return false;
    for (double t : turns) {
        if (p.Sign(t) == 0) roots.push_back(t);
    }
    const double inf = HUGE_VAL;
    for (size_t i = 0; i <= turns.size(); ++i) {
        const double lo = i == 0 ? -inf : turns[i - 1];
        const double hi = i == turns.size() ? inf : turns[i];
        const int left = i == 0 ? p.SignAtInfinity(false) : p.Sign(lo);
        const int right = i == turns.size() ? p.SignAtInfinity(true) : p.Sign(hi);
        if (left == 0 || right == 0 || left == right) continue;
        double start = 0.0;
        if (turns.empty()) {
            start = 0.0;
        } else if (i == 0) {
            start = hi - 10.0;
        } else if (i == turns.size()) {
            start = lo + 10.0;
        } else {
            start = lo / 2 + hi / 2;
        }
        double root = 0.0;
        if (RootInPiece(p, slope, lo, hi, start, left, tolerance, root)) roots.push_back(root);
    }
    std::sort(roots.begin(), roots.end());
    roots.erase(std::unique(roots.begin(), roots.end()), roots.end());
    return true;
}

// The text as the solver reads it: no blanks, "=" read as "-".
std::u16string SolverText(std::u16string_view equation) {
    std::u16string text;
    for (char16_t ch : equation) {
        if (ch != u' ') text += ch == u'=' ? u'-' : ch;
    }
    return text;
}

}  // namespace

bool IsSolverEquation(std::u16string_view text) {
    if (text.size() < 3 || text.find(u'=') == std::u16string_view::npos) return false;
    for (char16_t ch : text) {
        const bool letter = (ch >= u'A' && ch <= u'Z') || (ch >= u'a' && ch <= u'z');
        const bool digit = ch >= u'0' && ch <= u'9';
        if (!letter && !digit && std::u16string_view(u"()*+-./=^ ").find(ch) == std::u16string_view::npos) return false;
    }
    return true;
}

namespace {

bool ReadEquation(PolynomialHost& host, std::u16string_view equation, Polynomial& out) {
    const std::u16string text = SolverText(equation);
    CalcGrammar<PolynomialHost> grammar(host, text);
    return grammar.Parse(out) && grammar.Position() == text.size();
}

}  // namespace

bool EquationPolynomial(std::u16string_view equation, std::u16string_view variable, const SolverVariables& variables,
                        Polynomial& out) {
    PolynomialHost host(variable, variables);
    return ReadEquation(host, equation, out);
}

bool ExpandEquation(std::u16string_view equation, std::u16string_view variable, const SolverVariables& variables,
                    bool scientific, std::u16string& out) {
    Polynomial p;
    if (!EquationPolynomial(equation, variable, variables, p)) return false;
    out = PrintPolynomial(p, scientific) + u" = 0";
    return true;
}

bool SolveEquation(std::u16string_view equation, std::u16string_view variable, const SolverVariables& variables,
                   double tolerance, std::vector<double>& roots) {
    PolynomialHost host(variable, variables);
    Polynomial p, numerator, denominator;
    if (!ReadEquation(host, equation, p) || !host.arithmetic.ToFraction(p, numerator, denominator)) return false;
    roots.clear();
    if (numerator.terms.empty()) return true;
    int32_t low = 0, high = 0;
    for (const PolyTerm& t : numerator.terms) {
        low = std::min(low, t.exponent);
        high = std::max(high, t.exponent);
    }
    // Negative powers are cleared by multiplying through by x^-low.
    std::vector<double> coefficients(static_cast<size_t>(high - low) + 1, 0.0);
    for (const PolyTerm& t : numerator.terms) coefficients[static_cast<size_t>(t.exponent - low)] = t.coefficient;
    std::vector<double> candidates;
    if (!RealRoots(std::move(coefficients), tolerance, candidates)) return false;
    for (double r : candidates) {
        // Roots of the cleared numerator where the equation itself is undefined are none of its roots.
        if (std::isfinite(Evaluate(p, r)) && Evaluate(denominator, r) != 0.0) roots.push_back(r);
    }
    return true;
}

bool RealRoots(std::vector<double> coefficients, double tolerance, std::vector<double>& roots) {
    roots.clear();
    while (!coefficients.empty() && coefficients.back() == 0.0) coefficients.pop_back();
    for (double c : coefficients) {
        if (!std::isfinite(c)) return true;
    }
    if (coefficients.empty()) return true;
    if (!RootsOf(Dense{std::move(coefficients)}, tolerance, roots)) return false;
    roots.erase(std::remove_if(roots.begin(), roots.end(), [](double r) { return !std::isfinite(r); }), roots.end());
    return true;
}

}  // namespace ovrix
