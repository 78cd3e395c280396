// Handles, rectangles, points and variable references.
#include "container/Text.h"
#include "expr/KindsValue.h"
#include "expr/VariableName.h"
#include "expr/Variables.h"

namespace ovrix {

ExprItem_Handle::~ExprItem_Handle() {
    if (closer) closer(value);
}

std::u16string ExprItem_Handle::GetDisplayText() const { return u"[" + HexText(value) + u"]"; }

void ExprItem_Handle::Save(RecordBuffer& buffer) const {
    ExprItem::Save(buffer);
    WriteU32(buffer, tag::kHandle, value);
}

void ExprItem_Handle::Load(Region region) { value = ReadU32(region, tag::kHandle, 0); }

std::u16string ExprItem_Rect::GetDisplayText() const {
    return u"[Rect - " + Decimal(left) + u"," + Decimal(top) + u"," + Decimal(right) + u"," + Decimal(bottom) + u"]";
}

PExprItem ExprItem_Rect::Clone() const { return MakeItem<ExprItem_Rect>(left, top, right, bottom); }

std::u16string ExprItem_Point::GetDisplayText() const { return u"[Point - " + Decimal(x) + u"," + Decimal(y) + u"]"; }

PExprItem ExprItem_Point::Clone() const { return MakeItem<ExprItem_Point>(x, y); }

ExprItem_Var::ExprItem_Var(std::u16string_view name) : ExprItem(kind::kVariable), name_(CanonicalVariableName(name)) {}

// Evaluate lives with the variable tables, in Variables.cpp.

double ExprItem_Var::GetNumber() const {
    const Ref<ExprItem> item(VariableItem(name_, &slot_));
    return item ? item->GetNumber() : 0.0;
}

bool ExprItem_Var::GetBool() const { return GetNumber() != 0.0; }

void ExprItem_Var::Save(RecordBuffer& buffer) const {
    ExprItem::Save(buffer);
    WriteString(buffer, tag::kVar, name_);
}

void ExprItem_Var::Load(Region region) {
    name_ = CanonicalVariableName(ReadString(region, tag::kVar, u""));
    slot_ = {};
}

bool ExprItem_Var::IsEqual(const ExprItem& other) const {
    const auto* var = dynamic_cast<const ExprItem_Var*>(&other);
    return var != nullptr && var->name_ == name_;
}

PExprItem ExprItem_Var::Clone() const {
    auto* copy = new ExprItem_Var();
    copy->name_ = name_;
    return PExprItem::Of(copy);
}

}  // namespace ovrix
