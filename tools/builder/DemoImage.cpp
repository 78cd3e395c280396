// The default demo: a short macro that counts in a loop, tests the result,
// calls a built-in function, then opens Notepad, waits for its window, clicks
// into it and types two lines (one key by key, one pasted), so that a
// newcomer sees the player walk a script, number its steps, follow its
// blocks, wait for a window and replay input.
#include "builder/DemoImage.h"

#include "actions/KeyboardSteps.h"
#include "actions/MouseSteps.h"
#include "actions/SystemSteps.h"
#include "builder/ImageBuilder.h"
#include "container/Tags.h"
#include "engine/FlowSteps.h"
#include "engine/Runtime.h"
#include "expr/ExprKinds.h"
#include "expr/ExprReader.h"
#include "expr/KindsNode.h"
#include "expr/KindsValue.h"
#include "screen/WindowSteps.h"
#include "engine/VariableSteps.h"

namespace ovrix {

namespace {

template <class T>
Ref<T> Step(uint32_t delay) {
    auto step = MakeRef<T>();
    step->delay = delay;
    return step;
}

PExprItem VarNode(std::u16string_view name) { return MakeItem<ExprItem_Var>(name); }
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
    step->code = Stored(MakeItem<ExprItem_SetVar>(VarNode(name), value));
    return step;
}

}  // namespace

std::vector<uint8_t> BuildDemoImage() {
    Runtime runtime;  // the call node finds "Sqrt" as it is built
    const RuntimeScope scope(runtime);
    EventList steps;

    auto note = Step<CommentEvent>(0);
    note->comment = u"Ovrix demo: count, test, calculate, then open Notepad, wait for it, click and type";
    steps.Append(note);

    steps.Append(Set(u"$total", Num(0), 200));

    auto loop = Step<ForLoopEvent>(0);
    loop->kind = kLoopCount;
    loop->count = 3;
    loop->children.Append(Set(u"$total", MakeItem<ExprItem_Operator2>(op::kSum, VarNode(u"$total"), VarNode(u"@CurLoopIndex")), 250));
    steps.Append(loop);
    steps.Append(Step<NextEvent>(0));

    auto test = Step<IfVarEvent>(0);
    test->condition = Stored(MakeItem<ExprItem_Operator2>(op::kEqual, VarNode(u"$total"), Num(6)));
    test->children.Append(
        Set(u"$root", Call(u"Sqrt", MakeItem<ExprItem_Operator2>(op::kProduct, VarNode(u"$total"), Num(6))), 300));
    steps.Append(test);
    auto otherwise = Step<ElseEvent>(0);
    otherwise->children.Append(Set(u"$root", Num(0), 300));
    steps.Append(otherwise);
    steps.Append(Step<EndIfEvent>(0));

    auto notepad = Step<OpenFileEvent>(200);
    notepad->file = u"notepad.exe";
    steps.Append(notepad);

    // However long Notepad takes to start: wait for its window and bring it
    // to the front.
    auto ready = Step<WaitWindowEvent>(500);
    ready->title = u"* - Notepad";
    ready->timeout = 15;
    steps.Append(ready);

    auto move = Step<MousePosEvent>(300);
    move->x = NumberExpr(400);
    move->y = NumberExpr(300);
    steps.Append(move);
    steps.Append(Step<MouseClickEvent>(300));

    // A character above 127 sends the whole line through the Unicode path,
    // key by key; the second line goes through the clipboard.
    auto typed = Step<InputTextEvent>(500);
    typed->text = u"Typed key by key: caf\u00e9, 1 + 2 = 3.\r\n";
    typed->paste = 0;
    steps.Append(typed);
    auto pasted = Step<InputTextEvent>(500);
    pasted->text = u"Pasted in one go by the Ovrix demo.\r\n";
    steps.Append(pasted);

    auto done = Step<WaitEvent>(0);
    done->milliseconds = 1500;
    done->name = u"Finished";
    steps.Append(done);

    return ImageBuilder()
        .Root(u"C:\\Macros\\demo.ovx")
        .Main(steps, u"C:\\Macros\\demo.ovx")
        .Setting(tag::kRepeat, 1)  // once: Notepad opens a single time
        .Build();
}

}  // namespace ovrix
