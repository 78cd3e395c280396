// The assignment-like nodes (Set, Alias, Add, Remove): stored form and text
// forms. Performing them needs the variable tables of the playback thread.
#include "expr/ExprReader.h"
#include "expr/KindsNode.h"

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

// Assignments always answer no value; their effect on the variables is
// made by the variable tables once they are attached.
PExprItem ExprItem_Assign::Evaluate() { return {}; }

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

PExprItem ExprItem_RemoveVar::Evaluate() { return {}; }

void ExprItem_RemoveVar::Save(RecordBuffer& buffer) const {
    ExprItem::Save(buffer);
    SaveSubNode(buffer, tag::kVar, target);
}

void ExprItem_RemoveVar::Load(Region region) { target = ReadSubNode(region, tag::kVar); }

PExprItem ExprItem_RemoveVar::Clone() const { return MakeItem<ExprItem_RemoveVar>(target ? target->Clone() : PExprItem()); }

}  // namespace ovrix
