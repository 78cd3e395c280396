// The default demo: a short macro that counts in a loop, tests the result,
// calls a built-in function, and replays a few recorded-style steps (a move,
// a click, a keystroke, a pause), played twice, so that a newcomer sees the
// player walk a script, number its steps, follow its blocks and repeat it.
#include "builder/DemoImage.h"

#include "actions/KeyboardSteps.h"
#include "actions/MouseSteps.h"
#include "actions/SystemSteps.h"
#include "builder/ImageBuilder.h"
#include "builtins/Registry.h"
#include "container/Tags.h"
#include "engine/FlowSteps.h"
#include "expr/ExprKinds.h"
#include "expr/ExprReader.h"
#include "expr/KindsNode.h"
#include "expr/KindsValue.h"
#include "expr/VariableSteps.h"

namespace ovrix {

namespace {

template <class T>
Ref<T> Step(uint32_t delay) {
    auto step = MakeRef<T>();
    step->delay = delay;
    return step;
}

PExprItem Var(std::u16string_view name) { return MakeItem<ExprItem_Var>(name); }
PExprItem Num(double value) { return MakeItem<ExprItem_Num>(value); }

StoredExpr Stored(const PExprItem& node) { return StoredExpr(SaveExprItem(node).ToVector()); }

// A call of a built-in function with one argument, in its stored form.
PExprItem Call(std::u16string_view function, const PExprItem& argument) {
    RecordBuffer call;
    WriteU32(call, tag::kType, kind::kFunction);
    WriteString(call, MakeTag("FUN"), function);
    WriteU32(call, MakeTag("LIST"), 0);
    WriteContainer(call, IndexedTag('A', 0), SaveExprItem(argument));
    return ReadExprItem(call.AsRegion());
}

Ref<SetVarEvent> Set(std::u16string_view name, const PExprItem& value, uint32_t delay) {
    auto step = Step<SetVarEvent>(delay);
    step->code = Stored(MakeItem<ExprItem_SetVar>(Var(name), value));
    return step;
}

}  // namespace

std::vector<uint8_t> BuildDemoImage() {
    InitFunctionRegistry();  // the call node finds "Sqrt" as it is built
    EventList steps;

    auto note = Step<CommentEvent>(0);
    note->comment = u"Ovrix demo: count, test, calculate, then move, click, type and wait";
    steps.Append(note);

    steps.Append(Set(u"$total", Num(0), 200));

    auto loop = Step<ForLoopEvent>(0);
    loop->kind = kLoopCount;
    loop->count = 3;
    loop->children.Append(Set(u"$total", MakeItem<ExprItem_Operator2>(op::kSum, Var(u"$total"), Var(u"@CurLoopIndex")), 250));
    steps.Append(loop);
    steps.Append(Step<NextEvent>(0));

    auto test = Step<IfVarEvent>(0);
    test->condition = Stored(MakeItem<ExprItem_Operator2>(op::kEqual, Var(u"$total"), Num(6)));
    test->children.Append(
        Set(u"$root", Call(u"Sqrt", MakeItem<ExprItem_Operator2>(op::kProduct, Var(u"$total"), Num(6))), 300));
    steps.Append(test);
    auto otherwise = Step<ElseEvent>(0);
    otherwise->children.Append(Set(u"$root", Num(0), 300));
    steps.Append(otherwise);
    steps.Append(Step<EndIfEvent>(0));

    auto move = Step<MousePosEvent>(300);
    move->x = NumberExpr(640);
    move->y = NumberExpr(400);
    steps.Append(move);

    steps.Append(Step<MouseClickEvent>(300));

    auto save = Step<KeystrokeEvent>(300);
    save->ctrl = 1;
    save->keyCount = 1;
    save->keys[0] = 'S';
    steps.Append(save);

    auto done = Step<WaitEvent>(200);
    done->milliseconds = 200;
    done->name = u"Finished one pass";
    steps.Append(done);

    return ImageBuilder()
        .Root(u"C:\\Macros\\demo.ovx")
        .Main(steps, u"C:\\Macros\\demo.ovx")
        .Setting(tag::kRepeat, 2)
        .Build();
}

}  // namespace ovrix
