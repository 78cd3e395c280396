// Script loops played through RunEventList on the simulated desktop, with
// the progress window open as the driver opens it and no trace sink: the
// While/Set loop, the run loop's own share of a zero-delay step, and loops
// over an array's elements and over a text's characters.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "builder/CallNode.h"
#include "engine/FlowSteps.h"
#include "engine/Playback.h"
#include "engine/PlaybackFlags.h"
#include "engine/Player.h"
#include "engine/VariableSteps.h"
#include "expr/ExprKinds.h"
#include "expr/ExprReader.h"
#include "expr/KindsNode.h"
#include "expr/KindsValue.h"
#include "expr/Variables.h"
#include "platform/sim/SimPlatform.h"
#include "shell/ProgressWindowLogic.h"
#include "shell/StepKindsAll.h"

namespace ovrix {
namespace {

StoredExpr Stored(const PExprItem& node) { return StoredExpr(SaveExprItem(node).ToVector()); }
PExprItem Num(double v) { return MakeItem<ExprItem_Num>(v); }
PExprItem Var(std::u16string_view name) { return MakeItem<ExprItem_Var>(name); }
PExprItem Op(uint32_t code, PExprItem a, PExprItem b) { return MakeItem<ExprItem_Operator2>(code, a, b); }

PExprItem Call(std::u16string_view key, const std::vector<PExprItem>& args) { return LoadCall(key, args); }

template <class T>
Ref<T> Step() {
    auto step = MakeRef<T>();
    step->delay = 0;
    return step;
}

Ref<Event> Set(std::u16string_view name, PExprItem value) {
    auto step = Step<SetVarEvent>();
    step->code = Stored(MakeItem<ExprItem_SetVar>(Var(name), value));
    return step;
}

// The player on a simulated desktop, playback begun with its progress window.
struct SimPlayer {
    SimPlayer() : desktop(sim, Trace{}), player(desktop, &PlayerStepKinds()), runtime(player.runtime) {
        BeginPlayback(player, std::make_unique<ProgressWindowLogic>(player.settings.window, desktop.input));
    }
    ~SimPlayer() { EndPlayback(player); }

    void Play(EventList& list) {
        SetFlag(StopRequest, 0);
        RunEventList(player, list, nullptr, 1);
    }

    SimPlatform sim;
    Desktop desktop;
    Player player;
    RuntimeScope runtime;
};

// Set $i = 0; While $i < 2000000 { Set $i = $i + 1 }
void BM_WhileLoop(benchmark::State& state) {
    constexpr double kPasses = 2000000;
    EventList list;
    list.Append(Set(u"$i", Num(0)));
    auto loop = Step<ForLoopEvent>();
    loop->kind = kLoopWhile;
    loop->condition = Stored(Op(op::kLess, Var(u"$i"), Num(kPasses)));
    loop->children.Append(Set(u"$i", Op(op::kSum, Var(u"$i"), Num(1))));
    list.Append(loop);
    list.Append(Step<NextEvent>());
    SimPlayer p;
    for (auto _ : state) p.Play(list);
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kPasses));
}
BENCHMARK(BM_WhileLoop)->Unit(benchmark::kMillisecond);

// 1000 End If steps with no delay: the walk, the throttled step line, the
// step table and a delay of 0, and no action.
void BM_ZeroDelaySteps(benchmark::State& state) {
    constexpr int kSteps = 1000;
    EventList list;
    for (int i = 0; i < kSteps; ++i) list.Append(Step<EndIfEvent>());
    SimPlayer p;
    for (auto _ : state) p.Play(list);
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kSteps);
}
BENCHMARK(BM_ZeroDelaySteps);

// Set $s = 0, then For $k = 0 to count - 1 { Set $s = $s + element }.
EventList SumOverIndices(int count, PExprItem element) {
    EventList list;
    list.Append(Set(u"$s", Num(0)));
    auto loop = Step<ForLoopEvent>();
    loop->kind = kLoopRangeExclusive;
    loop->variable = u"$k";
    loop->start = Stored(Num(0));
    loop->end = Stored(Num(count));
    loop->children.Append(Set(u"$s", Op(op::kSum, Var(u"$s"), std::move(element))));
    list.Append(loop);
    list.Append(Step<NextEvent>());
    return list;
}

// For $k = 0 to 999 { Set $s = $s + Array_Get(#a, $k) } over 1000 numbers.
void BM_ArrayElementsLoop(benchmark::State& state) {
    constexpr int kCount = 1000;
    SimPlayer p;
    SetVariable(u"#a", Call(u"Array_Create", {})->Evaluate());
    for (int i = 0; i < kCount; ++i) Call(u"Array_Push", {Var(u"#a"), Num(i)})->Evaluate();
    EventList list = SumOverIndices(kCount, Call(u"Array_Get", {Var(u"#a"), Var(u"$k")}));
    for (auto _ : state) p.Play(list);
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kCount);
}
BENCHMARK(BM_ArrayElementsLoop);

// For $k = 0 to 999 { Set $s = $s + StringGetChar(#t, $k) } over a 1000-character text.
void BM_TextCharactersLoop(benchmark::State& state) {
    constexpr int kCount = 1000;
    SimPlayer p;
    SetVariable(u"#t", MakeItem<ExprItem_Text>(std::u16string(kCount, u'x')));
    EventList list = SumOverIndices(kCount, Call(u"StringGetChar", {Var(u"#t"), Var(u"$k")}));
    for (auto _ : state) p.Play(list);
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kCount);
}
BENCHMARK(BM_TextCharactersLoop);

}  // namespace
}  // namespace ovrix
