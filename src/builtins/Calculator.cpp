#include "builtins/Calculator.h"

#include <cmath>

#include "builtins/CalcGrammar.h"
#include "container/Text.h"

namespace ovrix {

namespace {

using Unary = double (*)(double);

struct UnaryFunction {
    const char16_t* name;
    Unary fn;
};

const UnaryFunction kUnary[] = {
    {u"exp", [](double x) { return std::exp(x); }},   {u"ln", [](double x) { return std::log(x); }},
    {u"lg", [](double x) { return std::log10(x); }},{u"sqrt", [](double x) { return std::sqrt(x); }},
    {u"sin", [](double x) { return std::sin(x); }},   {u"asin", [](double x) { return std::asin(x); }},
    {u"cos", [](double x) { return std::cos(x); }},   {u"acos", [](double x) { return std::acos(x); }},
    {u"tan", [](double x) { return std::tan(x); }},   {u"atan", [](double x) { return std::atan(x); }},
    {u"sinh", [](double x) { return std::sinh(x); }}, {u"cosh", [](double x) { return std::cosh(x); }},
    {u"tanh", [](double x) { return std::tanh(x); }}, {u"abs", [](double x) { return std::fabs(x); }},
    {u"floor", [](double x) { return std::floor(x); }}, {u"ceil", [](double x) { return std::ceil(x); }},
};

}  // namespace

XCalc::XCalc() {
    constants[u"e"] = 2.718281828459045;
    for (const char16_t* pi : {u"\u03C0", u"pi", u"PI"}) constants[pi] = 3.141592653589793;
}

bool XCalc::IsNameStart(char16_t ch) const { return (ch >= u'A' && ch <= u'Z') || (ch >= u'a' && ch <= u'z') || ch > 127; }

bool XCalc::IsNameChar(char16_t ch) const { return IsNameStart(ch) || (ch >= u'0' && ch <= u'9'); }

bool XCalc::CallFunction(const std::u16string& name, std::span<const double> arguments, double& result) const {
    const std::u16string lower = LowerCase(name);
    if (arguments.size() == 1) {
        for (const UnaryFunction& f : kUnary) {
            if (lower == f.name) {
                result = f.fn(arguments[0]);
                return true;
            }
        }
        return false;
    }
    if (arguments.size() != 2) return false;
    const double a = arguments[0], b = arguments[1];
    if (lower == u"log") {
        result = std::log(b) / std::log(a);
    } else if (lower == u"mod") {
        result = std::fmod(a, b);
    } else if (lower == u"atan2") {
        result = std::atan2(a, b);
    } else {
        return false;
    }
    return true;
}

bool XCalc::Calculate(std::u16string_view text, double& result) {
    CalcGrammar<XCalc> grammar(*this, text);
    return grammar.Parse(result);
}

bool XCalc::Number(double value, bool exponent, double& out) {
    if (exponent) scientific = 1;
    out = value;
    return true;
}

bool XCalc::Lookup(const std::u16string& name, double& out) const {
    for (const auto* table : {&constants, &variables}) {
        const auto it = table->find(name);
        if (it != table->end()) {
            out = it->second;
            return true;
        }
    }
    return false;
}

bool XCalc::Assign(const std::u16string& name, double value) {
    if (constants.count(name) != 0) return false;
    variables[name] = value;
    return true;
}

bool XCalc::Apply(char16_t op, double& left, double right) {
    switch (op) {
        case u'+': left += right; break;
        case u'-': left -= right; break;
        case u'*': left *= right; break;
        case u'/': left /= right; break;
        default: left = std::pow(left, right); break;
    }
    return true;
}

std::u16string CalculatorText(std::u16string_view text) {
    std::u16string noCommas;
    for (char16_t ch : text) {
        if (ch != u',') noCommas += ch;
    }
    const size_t lineEnd = noCommas.find(u"\r\n");
    if (lineEnd != std::u16string::npos) noCommas.resize(lineEnd);
    std::u16string out;
    for (char16_t ch : noCommas) {
        if (ch != u' ' && ch != u'\t') out += ch;
    }
    return out;
}

}  // namespace ovrix
