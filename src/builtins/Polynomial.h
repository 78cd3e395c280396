// The equation solver's working form: a polynomial as a list of terms, each
// a coefficient times a power of the unknown, where a term may also carry a
// quotient of two polynomials for the parts of an equation that are
// fractions. Terms are kept normalised: terms with equal exponents and
// equal fractions (or none) are merged, terms whose coefficient is 0 are
// dropped, plain terms stand in falling order of exponent and quotient
// terms after them in the order they first appeared.
//
// Every operation refuses (answers false) a result with an exponent beyond
// kMaxExponent or more than kMaxTerms terms counted through its quotients,
// so that a short text like "(x+1)^99^99" cannot ask for unbounded memory.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace ovrix {

constexpr int32_t kMaxExponent = 1000;
constexpr size_t kMaxTerms = 4096;

struct Quotient;

struct PolyTerm {
    double coefficient = 0.0;
    int32_t exponent = 0;
    // A fraction the term is multiplied by; null for a plain term.
    std::shared_ptr<const Quotient> quotient;
};

struct Polynomial {
    std::vector<PolyTerm> terms;

    static Polynomial Constant(double value);
    static Polynomial Monomial(double coefficient, int32_t exponent);
    // True, with the value, for no terms (0) or one plain term of exponent 0.
    bool IsConstant(double& value) const;
    bool HasQuotients() const;
};

struct Quotient {
    Polynomial numerator;
    Polynomial denominator;
};

// Merges, drops and orders the terms as described above.
void Normalize(Polynomial& p);

// Arithmetic within one budget of term operations (a pair of terms
// multiplied, a term added), shared by everything one equation asks for:
// products of fractions multiply their numerators and denominators again,
// so the size bounds alone would let "((x+1)/(x+2)+x)^40" run for minutes.
// Once the budget is spent every operation refuses. (x+1)^1000, the
// largest power the bounds allow, costs about 700,000 of it; the whole
// budget takes well under a second.
constexpr size_t kMaxPolyWork = size_t{1} << 20;

class PolyArithmetic {
public:
    bool Add(Polynomial& left, const Polynomial& right, double sign = 1.0);
    bool Multiply(const Polynomial& left, const Polynomial& right, Polynomial& out);
    // By a constant or a single plain term the terms are divided one by one;
    // by anything else the result is one quotient term.
    bool Divide(const Polynomial& left, const Polynomial& right, Polynomial& out);
    // Only constant exponents: any power of a constant, an integer power of a
    // single plain term, a whole power of any polynomial (a negative one as
    // the quotient 1 / the positive power).
    bool Power(const Polynomial& base, const Polynomial& exponent, Polynomial& out);
    // The fraction the polynomial equals, both parts plain: what a solver
    // looks for the roots of (the numerator's, where the denominator is not 0).
    bool ToFraction(const Polynomial& p, Polynomial& numerator, Polynomial& denominator);

private:
    bool Spend(size_t operations);
    // Normalize, paid for, and within the size bounds.
    bool Tidy(Polynomial& p);

    size_t budget_ = kMaxPolyWork;
};

double Evaluate(const Polynomial& p, double x);

// The printed form: terms joined by " + " or " - ", a first negative term
// led by "-", coefficients through %f (or %E in scientific mode) without
// trailing zeros, "1" left out before a power, "x^n" or "x"; a quotient
// term as its numerator, "/" and its denominator, each in parentheses when
// it has more than one term. No terms print as "0".
std::u16string PrintPolynomial(const Polynomial& p, bool scientific);
std::u16string PrintCoefficient(double value, bool scientific);

}  // namespace ovrix
