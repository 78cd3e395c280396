// Expression evaluation: one binary operator on two numbers, a 20-node tree
// mixing numbers, texts and variables, and "Set $i = $i + 1" through the
// real evaluator and variable tables.
#include <benchmark/benchmark.h>

#include "engine/Runtime.h"
#include "expr/ExprHandle.h"
#include "expr/ExprKinds.h"
#include "expr/KindsNode.h"
#include "expr/KindsValue.h"
#include "expr/VariableFrame.h"
#include "expr/Variables.h"

namespace ovrix {
namespace {

PExprItem Num(double v) { return MakeItem<ExprItem_Num>(v); }
PExprItem Var(std::u16string_view name) { return MakeItem<ExprItem_Var>(name); }
PExprItem Op(uint32_t code, PExprItem a, PExprItem b) { return MakeItem<ExprItem_Operator2>(code, a, b); }

void BM_NumberPlusNumber(benchmark::State& state) {
    const PExprItem sum = Op(op::kSum, Num(2), Num(3.5));
    for (auto _ : state) benchmark::DoNotOptimize(sum.Item()->Evaluate());
}
BENCHMARK(BM_NumberPlusNumber);

// (($a + 2) * ($b - 1) > 10 and "x" + $t == "xabc") or ($a / 0 + 7 * 3 < $b ^ 2)
void BM_MixedTree(benchmark::State& state) {
    Runtime runtime;
    const RuntimeScope installed(runtime);
    VariableFrame frame;
    CurrentFrameScope scope(frame);
    StoreVariable(u"$a", Num(4));
    StoreVariable(u"$b", Num(9));
    StoreVariable(u"$t", MakeItem<ExprItem_Text>(u"abc"));
    const PExprItem left =
        Op(op::kAnd, Op(op::kGreater, Op(op::kProduct, Op(op::kSum, Var(u"$a"), Num(2)), Op(op::kDifference, Var(u"$b"), Num(1))), Num(10)),
           Op(op::kEqual, Op(op::kSum, MakeItem<ExprItem_Text>(u"x"), Var(u"$t")), MakeItem<ExprItem_Text>(u"xabc")));
    const PExprItem right = Op(op::kLess, Op(op::kSum, Op(op::kQuotient, Var(u"$a"), Num(0)), Op(op::kProduct, Num(7), Num(3))),
                               Op(op::kPower, Var(u"$b"), Num(2)));
    const PExprItem tree = Op(op::kOr, left, right);
    for (auto _ : state) benchmark::DoNotOptimize(tree.Item()->Evaluate());
}
BENCHMARK(BM_MixedTree);

void BM_SetIncrement(benchmark::State& state) {
    Runtime runtime;
    const RuntimeScope installed(runtime);
    VariableFrame frame;
    CurrentFrameScope scope(frame);
    StoreVariable(u"$i", Num(0));
    const PExprItem set = MakeItem<ExprItem_SetVar>(Var(u"$i"), Op(op::kSum, Var(u"$i"), Num(1)));
    for (auto _ : state) set.Item()->Evaluate();
    state.counters["i"] = FindVariable(u"$i").Item()->GetNumber();
}
BENCHMARK(BM_SetIncrement);

}  // namespace
}  // namespace ovrix
