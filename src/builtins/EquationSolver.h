// The equation solver behind the Solver value: an equation text in one
// unknown is read through the calculator grammar with polynomials as
// values, printed expanded, and searched for its real roots.
//
// Reading the text: blanks are removed and every "=" becomes "-", so
// "a = b" stands for a - b = 0 when b is a single term. Numbers, the
// unknown, the calculator's constants and the solver's variables may be
// added, subtracted, multiplied and divided; powers need a constant
// exponent (a whole one unless the base is constant); functions take
// constant arguments. The whole text must be read: "2x" is no equation.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "builtins/Polynomial.h"

namespace ovrix {

// The highest degree whose roots are searched through the derivative
// (after clearing fractions; k·x^n and a·x^n + b have theirs at once). The
// search recurses once per degree and costs about the cube of the degree;
// equations typed into a script stay far below it.
constexpr int32_t kMaxSolveDegree = 64;

using SolverVariables = std::map<std::u16string, double>;

// What CreateSolver accepts: at least 3 characters, an "=", and only
// letters A-Z and a-z, digits, blanks and ( ) * + - . / = ^.
bool IsSolverEquation(std::u16string_view text);

// The equation as a polynomial in `variable`; false when the text does not
// read as one.
bool EquationPolynomial(std::u16string_view equation, std::u16string_view variable, const SolverVariables& variables,
                        Polynomial& out);

// The expanded text, "... = 0".
bool ExpandEquation(std::u16string_view equation, std::u16string_view variable, const SolverVariables& variables,
                    bool scientific, std::u16string& out);

// The real roots in rising order; false when the text does not read as a
// polynomial or its roots would need a search past kMaxSolveDegree.
bool SolveEquation(std::u16string_view equation, std::u16string_view variable, const SolverVariables& variables,
                   double tolerance, std::vector<double>& roots);

// The real roots, in rising order, of the polynomial with these
// coefficients (index = exponent); none when a coefficient is not finite;
// false past kMaxSolveDegree.
bool RealRoots(std::vector<double> coefficients, double tolerance, std::vector<double>& roots);

}  // namespace ovrix
