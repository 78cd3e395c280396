// The calculator and the equation solver: a typical arithmetic text, and
// the real roots of a cubic and of a degree-10 polynomial with ten roots
// (in scientific mode, where only the step bound and the rounding of
// doubles end Newton's method).
#include <benchmark/benchmark.h>

#include "builtins/Calculator.h"
#include "builtins/EquationSolver.h"

namespace ovrix {
namespace {

void BM_CalculateText(benchmark::State& state) {
    const std::u16string text = CalculatorText(u"x = 2.5; sqrt(x^2 + 16) * (1,000 - 3) / 7 + floor(2*pi)");
    for (auto _ : state) {
        XCalc calc;
        double value = 0.0;
        benchmark::DoNotOptimize(calc.Calculate(text, value));
        benchmark::DoNotOptimize(value);
    }
}
BENCHMARK(BM_CalculateText);

void Solve(benchmark::State& state, const char16_t* equation, double tolerance) {
    std::vector<double> roots;
    for (auto _ : state) benchmark::DoNotOptimize(SolveEquation(equation, u"x", {}, tolerance, roots));
    state.counters["roots"] = static_cast<double>(roots.size());
}

void BM_SolveCubic(benchmark::State& state) { Solve(state, u"x^3 - 6*x^2 + 11*x - 6 = 0", 1e-7); }
BENCHMARK(BM_SolveCubic);

void BM_SolveDegree10Scientific(benchmark::State& state) {
    Solve(state, u"(x-1)*(x-2)*(x-3)*(x-4)*(x-5)*(x+1)*(x+2)*(x+3)*(x+4)*(x+5.5) = 0", 1e-100);
}
BENCHMARK(BM_SolveDegree10Scientific);

}  // namespace
}  // namespace ovrix
