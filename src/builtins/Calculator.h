// XCalc: the small calculator behind CalculateExpression, independent of the
// script's expression language. It reads an arithmetic text through the
// shared calculator grammar with numbers as values: its own constants, the
// variables that assignments in the text set, and a fixed set of
// functions. The equation solver uses its names and functions too.
#pragma once

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ovrix {

class XCalc {
public:
    using Value = double;

    XCalc();
    virtual ~XCalc() = default;

    // A to Z, a to z and any character above 127 start a name; digits may follow.
    virtual bool IsNameStart(char16_t ch) const;
    virtual bool IsNameChar(char16_t ch) const;
    // The functions, by lower-cased name and argument count; false for any
    // other name or count.
    virtual bool CallFunction(const std::u16string& name, std::span<const double> arguments, double& result) const;

    // Evaluates a text without blanks from the top level; what follows a
    // complete expression is ignored.
    bool Calculate(std::u16string_view text, double& result);

    std::map<std::u16string, double> variables;
    std::map<std::u16string, double> constants;
    // 1 once a number with an exponent part was read.
    uint32_t scientific = 0;

    // The grammar's host operations.
    bool Number(double value, bool exponent, double& out);
    bool Lookup(const std::u16string& name, double& out) const;
    bool Assign(const std::u16string& name, double value);
    bool CallFunction(const std::u16string& name, const std::vector<double>& arguments, double& out) const {
        return CallFunction(name, std::span<const double>(arguments), out);
    }
    static bool Apply(char16_t op, double& left, double right);
    static bool Negate(double& value) {
        value = -value;
        return true;
    }
};

// The text CalculateExpression evaluates: commas removed, only what stands
// before the first CR LF, blanks and tabs removed.
std::u16string CalculatorText(std::u16string_view text);

}  // namespace ovrix
