// The assignment-like nodes (Set, Alias, Add, Remove): stored form, text
// forms and their effect on the variable tables. Each answers no value; a
// target that is not a variable node makes the node do nothing.
#include "expr/ExprReader.h"
#include "expr/KindsNode.h"
#include "expr/KindsValue.h"
#include "expr/Operators.h"
#include "expr/Variables.h"

namespace ovrix {

bool ExprItem_Assign::Walk(ExprWalkFn callback, void* context) {
    if (!callback(this, context)) return false;
    if (target && !target->Walk(callback, context)) return false;
    if (value && !value->Walk(callback, context)) return false;
    return true;
}

std::u16string ExprItem_Assign::Render(bool marked) const {
    const std::u16string t = NodeText(target, marked);
    const std::u16string v = NodeText(value, marked);
    switch (Kind()) {
        case kind::kAlias: return u"Alias " + t + u" = " + v;
        case kind::kAddValue: return u"Add " + v + u" to " + t;
        default: return u"Set " + t + u" = " + v;
    }
}

PExprItem ExprItem_Assign::Evaluate() {
    // `Set $i = $i + 1` and its kind store their number without making it.
    NumberResult number;
    if (Kind() == kind::kSetVar && target && target->Kind() == kind::kVariable && value &&
        IsOperatorCode(value->Kind()) && TryNumberOperator(*value.Item(), number)) {
        const auto* var = static_cast<const ExprItem_Var*>(target.Item());
        SetVariableNumber(var->Name(), number.value, number.flags, var->Slot());
        return {};
    }
    // The value is computed even for an unusable target: it may call functions.
    const PExprItem result = value ? value->Evaluate() : PExprItem();
    // Only a variable node has the variable kind: no cast needs checking.
    const ExprItem* node = target.Item();
    if (node == nullptr || node->Kind() != kind::kVariable) return {};
    const auto* var = static_cast<const ExprItem_Var*>(node);
    switch (Kind()) {
        case kind::kAlias: StoreVariable(var->Name(), result, var->Slot()); break;
        case kind::kAddValue: AddToVariable(var->Name(), result, var->Slot()); break;
        default: SetVariable(var->Name(), result, var->Slot()); break;
    }
    return {};
}

void ExprItem_Assign::Save(RecordBuffer& buffer) const {
    ExprItem::Save(buffer);
    SaveSubNode(buffer, tag::kVar, target);
    SaveSubNode(buffer, tag::kValue, value);
}

void ExprItem_Assign::Load(Region region) {
    target = ReadSubNode(region, tag::kVar);
    value = ReadSubNode(region, tag::kValue);
}

PExprItem ExprItem_Assign::Clone() const {
    PExprItem t = target ? target->Clone() : PExprItem();
    PExprItem v = value ? value->Clone() : PExprItem();
    switch (Kind()) {
        case kind::kAlias: return MakeItem<ExprItem_Alias>(std::move(t), std::move(v));
        case kind::kAddValue: return MakeItem<ExprItem_AddValue>(std::move(t), std::move(v));
        default: return MakeItem<ExprItem_SetVar>(std::move(t), std::move(v));
    }
}

bool ExprItem_RemoveVar::Walk(ExprWalkFn callback, void* context) {
    if (!callback(this, context)) return false;
    return !target || target->Walk(callback, context);
}

PExprItem ExprItem_RemoveVar::Evaluate() {
    if (const auto* var = ItemAs<ExprItem_Var>(target)) RemoveVariable(var->Name());
    return {};
}

void ExprItem_RemoveVar::Save(RecordBuffer& buffer) const {
    ExprItem::Save(buffer);
    SaveSubNode(buffer, tag::kVar, target);
}

void ExprItem_RemoveVar::Load(Region region) { target = ReadSubNode(region, tag::kVar); }

PExprItem ExprItem_RemoveVar::Clone() const { return MakeItem<ExprItem_RemoveVar>(target ? target->Clone() : PExprItem()); }

}  // namespace ovrix
