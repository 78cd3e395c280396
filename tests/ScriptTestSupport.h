// Building scripts in tests: expression nodes, stored expressions and the
// steps the play tests use, where the script reports what it did by adding
// to the program-wide variable "#log".
#pragma once

#include <string>
#include <string_view>

#include "expr/ExprReader.h"
#include "expr/KindsNode.h"
#include "expr/KindsValue.h"
#include "engine/VariableSteps.h"
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

// #log += value.
inline Ref<Event> Log(PExprItem value) {
    auto step = Step<AddValueEvent>();
    step->code = Stored(MakeItem<ExprItem_AddValue>(Var(u"#log"), value));
    return step;
}
inline Ref<Event> Log(std::u16string text) { return Log(Text(std::move(text))); }

inline Ref<Event> Set(std::u16string_view name, PExprItem value) {
    auto step = Step<SetVarEvent>();
    step->code = Stored(MakeItem<ExprItem_SetVar>(Var(name), value));
    return step;
}

}  // namespace ovrix::scripttest
