// Fuzzes the calculator and the equation solver with any text: each input
// byte becomes one UTF-16 unit (pairs of bytes above 0xF0 form units past
// 127, so names of any character are reached). The text is evaluated as
// CalculateExpression evaluates it, then, when CreateSolver would accept
// it, expanded and solved in both modes for "x" and for a second letter.
// Nothing may crash, run away or overflow the stack; roots must be finite
// and rising.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "builtins/Calculator.h"
#include "builtins/EquationSolver.h"

using namespace ovrix;

namespace {

std::u16string TextOf(const uint8_t* data, size_t size) {
    std::u16string text;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] >= 0xF0 && i + 1 < size) {
            text += static_cast<char16_t>(((data[i] & 0x0F) << 8 | data[i + 1]) + 0x80);
            ++i;
        } else {
            text += static_cast<char16_t>(data[i]);
        }
    }
    return text;
}

void CheckRoots(const std::vector<double>& roots) {
    for (size_t i = 0; i < roots.size(); ++i) {
        if (!(roots[i] == roots[i]) || roots[i] - roots[i] != 0.0) __builtin_trap();
        if (i > 0 && !(roots[i - 1] < roots[i])) __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 4096) return 0;
    const std::u16string text = TextOf(data, size);

    XCalc calc;
    double value = 0.0;
    (void)calc.Calculate(CalculatorText(text), value);
    // The raw text too: commas reach the two-argument functions this way.
    XCalc raw;
    (void)raw.Calculate(text, value);

    if (!IsSolverEquation(text)) return 0;
    const SolverVariables variables{{u"a", 2.0}, {u"b", -3.5}};
    for (const char16_t* variable : {u"x", u"b"}) {
        std::u16string expanded;
        (void)ExpandEquation(text, variable, variables, false, expanded);
        (void)ExpandEquation(text, variable, variables, true, expanded);
        for (double tolerance : {1e-7, 1e-100}) {
            std::vector<double> roots;
            if (SolveEquation(text, variable, variables, tolerance, roots)) CheckRoots(roots);
        }
    }
    return 0;
}
