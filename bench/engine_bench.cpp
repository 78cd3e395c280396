// The engine's cost per zero-delay step: a counted loop whose body sets
// $i = $i + 1 and tests it, played through RunEventList on the simulated
// desktop (display throttle, breathers and all).
#include <benchmark/benchmark.h>

#include "engine/FlowSteps.h"
#include "engine/Playback.h"
#include "engine/PlaybackFlags.h"
#include "engine/Player.h"
#include "expr/ExprKinds.h"
#include "expr/ExprReader.h"
#include "expr/KindsNode.h"
#include "expr/KindsValue.h"
#include "engine/VariableSteps.h"
#include "platform/sim/SimPlatform.h"
#include "shell/StepKindsAll.h"

namespace ovrix {
namespace {

StoredExpr Stored(const PExprItem& node) { return StoredExpr(SaveExprItem(node).ToVector()); }

template <class T>
Ref<T> Step() {
    auto step = MakeRef<T>();
    step->delay = 0;
    return step;
}

void BM_LoopOfSetAndIf(benchmark::State& state) {
    constexpr uint32_t kPasses = 1000;
    EventList list;
    auto init = Step<SetVarEvent>();
    init->code = Stored(MakeItem<ExprItem_SetVar>(MakeItem<ExprItem_Var>(u"$i"), MakeItem<ExprItem_Num>(0.0)));
    list.Append(init);
    auto loop = Step<ForLoopEvent>();
    loop->kind = kLoopCount;
    loop->count = kPasses;
    auto add = Step<SetVarEvent>();
    add->code = Stored(MakeItem<ExprItem_SetVar>(
        MakeItem<ExprItem_Var>(u"$i"),
        MakeItem<ExprItem_Operator2>(op::kSum, MakeItem<ExprItem_Var>(u"$i"), MakeItem<ExprItem_Num>(1.0))));
    loop->children.Append(add);
    auto test = Step<IfVarEvent>();
    test->condition = Stored(MakeItem<ExprItem_Operator2>(op::kLess, MakeItem<ExprItem_Var>(u"$i"), MakeItem<ExprItem_Num>(0.0)));
    loop->children.Append(test);
    list.Append(loop);
    list.Append(Step<NextEvent>());

    SimPlatform sim;
    Desktop desktop(sim, Trace{});
    Player player(desktop, &PlayerStepKinds());
    const RuntimeScope runtime(player.runtime);
    for (auto _ : state) {
        SetFlag(StopRequest, 0);
        RunEventList(player, list, nullptr, 1);
    }
    // Per pass: the Set, the If and the Next.
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kPasses * 3);
}
BENCHMARK(BM_LoopOfSetAndIf);

// What a new runtime costs: its registry files every built-in descriptor.
// The player makes one; the tools and the fuzz target make one per image.
void BM_RuntimeStart(benchmark::State& state) {
    for (auto _ : state) {
        Runtime runtime(&PlayerStepKinds());
        benchmark::DoNotOptimize(&runtime);
    }
}
BENCHMARK(BM_RuntimeStart);

}  // namespace
}  // namespace ovrix
