#include "builtins/Polynomial.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <utility>

#include "container/Text.h"

namespace ovrix {

namespace {

// Pairs of terms one multiplication may form before merging; (x+1)^1000,
// the largest power the bounds allow, stays well inside it.
constexpr size_t kMaxProductPairs = size_t{1} << 20;

// Terms counted through quotients, stopping once past `cap`.
size_t CountTerms(const Polynomial& p, size_t cap) {
    size_t n = 0;
    for (const PolyTerm& t : p.terms) {
        if (++n > cap) return n;
        if (t.quotient) {
            n += CountTerms(t.quotient->numerator, cap - n);
            if (n > cap) return n;
            n += CountTerms(t.quotient->denominator, cap - n);
            if (n > cap) return n;
        }
    }
    return n;
}

bool WithinBounds(const Polynomial& p) {
    for (const PolyTerm& t : p.terms) {
        if (t.exponent > kMaxExponent || t.exponent < -kMaxExponent) return false;
    }
    return CountTerms(p, kMaxTerms) <= kMaxTerms;
}

bool SameQuotient(const Quotient* a, const Quotient* b);

// Equal term by term (both normalised, so equal polynomials match).
bool SamePolynomial(const Polynomial& a, const Polynomial& b) {
    if (a.terms.size() != b.terms.size()) return false;
    for (size_t i = 0; i < a.terms.size(); ++i) {
        const PolyTerm &s = a.terms[i], &t = b.terms[i];
        if (s.coefficient != t.coefficient || s.exponent != t.exponent ||
            !SameQuotient(s.quotient.get(), t.quotient.get())) {
            return false;
        }
    }
    return true;
}

bool SameQuotient(const Quotient* a, const Quotient* b) {
    if (a == b) return true;
    if (a == nullptr || b == nullptr) return false;
    return SamePolynomial(a->numerator, b->numerator) && SamePolynomial(a->denominator, b->denominator);
}

// Trailing "0"s, then a trailing ".".
std::string StripZeros(std::string s) {
    while (!s.empty() && s.back() == '0') s.pop_back();
    if (!s.empty() && s.back() == '.') s.pop_back();
    return s;
}

std::u16string PowerText(int32_t exponent) {
    if (exponent == 1) return u"x";
    return u"x^" + Widen(std::to_string(exponent));
}

}  // namespace

Polynomial Polynomial::Constant(double value) { return Monomial(value, 0); }

Polynomial Polynomial::Monomial(double coefficient, int32_t exponent) {
    Polynomial p;
    if (coefficient != 0.0) p.terms.push_back({coefficient, exponent, nullptr});
    return p;
}

bool Polynomial::IsConstant(double& value) const {
    if (terms.empty()) {
        value = 0.0;
        return true;
    }
    if (terms.size() != 1 || terms[0].exponent != 0 || terms[0].quotient) return false;
    value = terms[0].coefficient;
    return true;
}

bool Polynomial::HasQuotients() const {
    for (const PolyTerm& t : terms) {
        if (t.quotient) return true;
    }
    return false;
}

void Normalize(Polynomial& p) {
    std::map<int32_t, double, std::greater<>> plain;
    std::vector<PolyTerm> quotients;
    for (const PolyTerm& t : p.terms) {
        if (!t.quotient) {
            plain[t.exponent] += t.coefficient;
            continue;
        }
        // Fractions are merged when they are equal, wherever they came from.
        const auto same = std::find_if(quotients.begin(), quotients.end(), [&t](const PolyTerm& q) {
            return q.exponent == t.exponent && SameQuotient(q.quotient.get(), t.quotient.get());
        });
        if (same == quotients.end()) {
            quotients.push_back(t);
        } else {
            same->coefficient += t.coefficient;
        }
    }
    p.terms.clear();
    for (const auto& [exponent, coefficient] : plain) {
        if (coefficient != 0.0) p.terms.push_back({coefficient, exponent, nullptr});
    }
    for (PolyTerm& t : quotients) {
        if (t.coefficient != 0.0) p.terms.push_back(std::move(t));
    }
}

bool PolyArithmetic::Spend(size_t operations) {
    if (operations > budget_) {
        budget_ = 0;
        return false;
    }
    budget_ -= operations;
    return true;
}

// Normalising compares every fraction with those before it.
bool PolyArithmetic::Tidy(Polynomial& p) {
    size_t fractions = 0;
    for (const PolyTerm& t : p.terms) fractions += t.quotient ? 1 : 0;
    if (!Spend(fractions * fractions / 2)) return false;
    Normalize(p);
    return WithinBounds(p);
}

bool PolyArithmetic::Add(Polynomial& left, const Polynomial& right, double sign) {
    if (!Spend(left.terms.size() + right.terms.size())) return false;
    for (const PolyTerm& t : right.terms) left.terms.push_back({sign * t.coefficient, t.exponent, t.quotient});
    return Tidy(left);
}

bool PolyArithmetic::Multiply(const Polynomial& left, const Polynomial& right, Polynomial& out) {
    if (left.terms.size() * right.terms.size() > kMaxProductPairs ||
        !Spend(left.terms.size() * right.terms.size())) {
        return false;
    }
    Polynomial product;
    product.terms.reserve(std::min(left.terms.size() * right.terms.size(), kMaxTerms * 4 + 1));
    for (const PolyTerm& a : left.terms) {
        for (const PolyTerm& b : right.terms) {
            PolyTerm t{a.coefficient * b.coefficient, a.exponent + b.exponent, a.quotient ? a.quotient : b.quotient};
            if (a.quotient && b.quotient) {
                auto q = std::make_shared<Quotient>();
                if (!Multiply(a.quotient->numerator, b.quotient->numerator, q->numerator) ||
                    !Multiply(a.quotient->denominator, b.quotient->denominator, q->denominator)) {
                    return false;
                }
                t.quotient = std::move(q);
            }
            product.terms.push_back(std::move(t));
            if (product.terms.size() > kMaxTerms * 4) {
                if (!Tidy(product)) return false;
            }
        }
    }
    if (!Tidy(product)) return false;
    out = std::move(product);
    return true;
}

bool PolyArithmetic::Divide(const Polynomial& left, const Polynomial& right, Polynomial& out) {
    double l = 0.0, r = 0.0;
    if (left.IsConstant(l) && right.IsConstant(r)) {
        out = Polynomial::Constant(l / r);
        return true;
    }
    const bool monomial = right.terms.size() == 1 && !right.terms[0].quotient;
    if (right.IsConstant(r) || monomial) {
        const double k = monomial ? right.terms[0].coefficient : r;
        const int32_t n = monomial ? right.terms[0].exponent : 0;
        Polynomial quotient;
        for (const PolyTerm& t : left.terms) quotient.terms.push_back({t.coefficient / k, t.exponent - n, t.quotient});
        if (!Tidy(quotient)) return false;
        out = std::move(quotient);
        return true;
    }
    if (left.terms.empty()) {
        out = Polynomial();
        return true;
    }
    Polynomial fraction;
    fraction.terms.push_back({1.0, 0, std::make_shared<Quotient>(Quotient{left, right})});
    if (!WithinBounds(fraction)) return false;
    out = std::move(fraction);
    return true;
}

bool PolyArithmetic::Power(const Polynomial& base, const Polynomial& exponent, Polynomial& out) {
    double e = 0.0, b = 0.0;
    if (!exponent.IsConstant(e)) return false;
    if (base.IsConstant(b)) {
        out = Polynomial::Constant(std::pow(b, e));
        return true;
    }
    if (e != std::trunc(e) || std::fabs(e) > kMaxExponent) return false;
    const auto n = static_cast<int32_t>(e);
    if (base.terms.size() == 1 && !base.terms[0].quotient) {
        const int64_t power = int64_t{base.terms[0].exponent} * n;
        if (power > kMaxExponent || power < -kMaxExponent) return false;
        out = Polynomial::Monomial(std::pow(base.terms[0].coefficient, e), static_cast<int32_t>(power));
        return true;
    }
    if (n < 0) {
        Polynomial positive;
        return Power(base, Polynomial::Constant(-e), positive) && Divide(Polynomial::Constant(1.0), positive, out);
    }
    Polynomial result = Polynomial::Constant(1.0), square = base;
    for (int32_t k = n; k > 0; k >>= 1) {
        if ((k & 1) != 0 && !Multiply(result, square, result)) return false;
        if (k > 1 && !Multiply(square, square, square)) return false;
    }
    out = std::move(result);
    return true;
}

double Evaluate(const Polynomial& p, double x) {
    double sum = 0.0;
    for (const PolyTerm& t : p.terms) {
        double term = t.coefficient * std::pow(x, t.exponent);
        if (t.quotient) term *= Evaluate(t.quotient->numerator, x) / Evaluate(t.quotient->denominator, x);
        sum += term;
    }
    return sum;
}

bool PolyArithmetic::ToFraction(const Polynomial& p, Polynomial& numerator, Polynomial& denominator) {
    Polynomial n, d = Polynomial::Constant(1.0);
    for (const PolyTerm& t : p.terms) {
        Polynomial tn = Polynomial::Monomial(t.coefficient, t.exponent), td = Polynomial::Constant(1.0);
        if (t.quotient) {
            // c x^e (a/b) / (g/h) = c x^e a h / (b g)
            Polynomial a, b, g, h;
            if (!ToFraction(t.quotient->numerator, a, b) || !ToFraction(t.quotient->denominator, g, h) ||
                !Multiply(tn, a, tn) || !Multiply(tn, h, tn) || !Multiply(b, g, td)) {
                return false;
            }
        }
        if (SamePolynomial(d, td)) {
            if (!Add(n, tn)) return false;
            continue;
        }
        Polynomial left, right;
        if (!Multiply(n, td, left) || !Multiply(tn, d, right) || !Add(left, right) || !Multiply(d, td, d)) return false;
        n = std::move(left);
    }
    numerator = std::move(n);
    denominator = std::move(d);
    return true;
}

std::u16string PrintCoefficient(double value, bool scientific) {
    char buffer[512];
    if (!scientific) {
        std::snprintf(buffer, sizeof buffer, "%f", value);
        return Widen(StripZeros(buffer));
    }
    std::snprintf(buffer, sizeof buffer, "%E", value);
    const std::string text = buffer;
    const size_t e = text.find('E');
    if (e == std::string::npos || e + 1 >= text.size()) return Widen(text);
    std::string digits = text.substr(e + 2);
    while (digits.size() > 1 && digits.front() == '0') digits.erase(0, 1);
    return Widen(StripZeros(text.substr(0, e)) + "E" + text[e + 1] + digits);
}

std::u16string PrintPolynomial(const Polynomial& p, bool scientific) {
    if (p.terms.empty()) return u"0";
    const std::u16string one = PrintCoefficient(1.0, scientific);
    std::u16string out;
    for (size_t i = 0; i < p.terms.size(); ++i) {
        const PolyTerm& t = p.terms[i];
        const bool negative = t.coefficient < 0;
        out += i == 0 ? (negative ? u"-" : u"") : (negative ? u" - " : u" + ");
        const std::u16string coefficient = PrintCoefficient(std::fabs(t.coefficient), scientific);
        const bool bareQuotient = t.quotient && t.exponent == 0 && coefficient == one;
        if (t.exponent == 0 && !bareQuotient) {
            out += coefficient;
        } else if (t.exponent != 0) {
            if (coefficient != one) out += coefficient + u"*";
            out += PowerText(t.exponent);
        }
        if (!t.quotient) continue;
        if (!bareQuotient) out += u"*";
        for (const Polynomial* part : {&t.quotient->numerator, &t.quotient->denominator}) {
            const bool wrap = part->terms.size() > 1;
            if (part == &t.quotient->denominator) out += u"/";
            out += (wrap ? u"(" : u"") + PrintPolynomial(*part, scientific) + (wrap ? u")" : u"");
        }
    }
    return out;
}

}  // namespace ovrix
