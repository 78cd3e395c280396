// Building scripts in tests: expression nodes, stored expressions and the
// steps the play tests use, where the script reports what it did by adding
// to the program-wide variable "#log".
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "expr/ExprReader.h"
#include "expr/KindsNode.h"
#include "expr/KindsValue.h"
#include "actions/SystemSteps.h"
#include "engine/FlowSteps.h"
#include "engine/FunctionSteps.h"
#include "engine/VariableSteps.h"
#include "expr/VariableName.h"
#include "expr/Variables.h"
#include "script/StoredExpr.h"

namespace ovrix::scripttest {

inline StoredExpr Stored(const PExprItem& node) { return StoredExpr(SaveExprItem(node).ToVector()); }
inline PExprItem Num(double v) { return MakeItem<ExprItem_Num>(v); }
inline PExprItem Text(std::u16string t) { return MakeItem<ExprItem_Text>(std::move(t)); }
inline PExprItem Var(std::u16string_view name) { return MakeItem<ExprItem_Var>(name); }
inline PExprItem Op(uint32_t code, PExprItem a, PExprItem b) { return MakeItem<ExprItem_Operator2>(code, a, b); }

template <class T>
Ref<T> Step(uint32_t delay = 0) {
    auto step = MakeRef<T>();
    step->delay = delay;
    return step;
}

// A Wait step of `ms` milliseconds (`random` set: up to that many).
inline Ref<WaitEvent> Wait(int64_t ms, uint32_t delay, uint32_t random = 0) {
    auto step = Step<WaitEvent>(delay);
    step->milliseconds = ms;
    step->random = random;
    return step;
}

// #log += value.
inline Ref<Event> Log(PExprItem value) {
    auto step = Step<AddValueEvent>();
    step->code = Stored(MakeItem<ExprItem_AddValue>(Var(u"#log"), value));
    return step;
}
inline Ref<Event> Log(std::u16string text) { return Log(Text(std::move(text))); }

// A block step of class T holding `body`.
template <class T>
Ref<T> Block(std::vector<Ref<Event>> body, uint32_t delay = 0) {
    auto step = Step<T>(delay);
    for (auto& s : body) step->children.Append(s);
    return step;
}

inline Ref<IfVarEvent> If(PExprItem condition, std::vector<Ref<Event>> body, uint32_t delay = 0) {
    auto step = Block<IfVarEvent>(std::move(body), delay);
    step->condition = Stored(condition);
    return step;
}

inline Ref<ForLoopEvent> Loop(uint32_t kind, std::vector<Ref<Event>> body) {
    auto step = Block<ForLoopEvent>(std::move(body));
    step->kind = kind;
    return step;
}

inline Ref<ForLoopEvent> Count(uint32_t count, std::vector<Ref<Event>> body) {
    auto step = Loop(kLoopCount, std::move(body));
    step->count = count;
    return step;
}

// What the steps appended to "#log", and a fresh empty one.
inline std::string LogText() {
    const std::u16string log = AsText(GetVariable(CanonicalVariableName(u"#log")));
    return std::string(log.begin(), log.end());
}
inline void ClearLog() { SetVariable(CanonicalVariableName(u"#log"), Text(u"")); }

inline Ref<Event> Set(std::u16string_view name, PExprItem value) {
    auto step = Step<SetVarEvent>();
    step->code = Stored(MakeItem<ExprItem_SetVar>(Var(name), value));
    return step;
}

// variable = GetScriptArg(index).
inline Ref<Event> ScriptArg(std::u16string variable, double index) {
    auto step = Step<GetScriptArgEvent>();
    step->variable = std::move(variable);
    step->index = Stored(Num(index));
    return step;
}

// Return, with a value when given one.
inline Ref<Event> Return(PExprItem value = {}) {
    auto step = Step<ExitScriptEvent>();
    if (value) step->code = Stored(value);
    return step;
}

}  // namespace ovrix::scripttest
