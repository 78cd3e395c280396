// Numbers, truth values and Empty.
#include "expr/KindsValue.h"
#include "expr/NumberEnum.h"
#include "expr/NumberFormat.h"

namespace ovrix {

std::u16string ExprItem_Num::GetTypeName() const { return enumeration ? enumeration->Name() : u"Number"; }

std::u16string ExprItem_Num::GetDisplayText() const { return FormatNumber(value, flags, enumeration); }

std::u16string ExprItem_Num::GetMarkedText() const { return Marker(u'N', GetDisplayText()); }

void ExprItem_Num::Save(RecordBuffer& buffer) const {
    ExprItem::Save(buffer);
    WriteU32(buffer, tag::kNumberFlags, flags);
    WriteF64(buffer, tag::kNumber, value);
    if (enumeration) WriteString(buffer, tag::kEnum, enumeration->Name());
}

void ExprItem_Num::Load(Region region) {
    flags = ReadU32(region, tag::kNumberFlags, 0);
    value = ReadF64(region, tag::kNumber, 0.0);
    enumeration = nullptr;
    std::u16string name;
    if (ReadStringIfPresent(region, tag::kEnum, name)) enumeration = FindNumberEnum(name);
}

PExprItem ExprItem_Num::Clone() const { return MakeItem<ExprItem_Num>(value, flags, enumeration); }

void ExprItem_Bool::Save(RecordBuffer& buffer) const {
    ExprItem::Save(buffer);
    WriteU32(buffer, tag::kBool, value ? 1 : 0);
}

void ExprItem_Bool::Load(Region region) { value = ReadU32(region, tag::kBool, 0) != 0; }

PExprItem ExprItem_Bool::Clone() const { return MakeItem<ExprItem_Bool>(value); }

PExprItem ExprItem_Empty::Clone() const { return MakeItem<ExprItem_Empty>(); }

}  // namespace ovrix
