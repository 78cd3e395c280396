#include "expr/KindsObject.h"

#include "container/Text.h"

namespace ovrix {

bool AnyArray::Walk(ExprWalkFn callback, void* context) {
    if (!callback(this, context)) return false;
    for (const PExprItem& e : elements) {
        if (e && !e->Walk(callback, context)) return false;
    }
    return true;
}

PExprItem AnyArray::Clone() const {
    auto* copy = new AnyArray();
    copy->elements = elements;
    return PExprItem::Of(copy);
}

bool ExprItem_NamedData::Walk(ExprWalkFn callback, void* context) {
    if (!callback(this, context)) return false;
    for (const std::u16string& name : order) {
        const auto it = entries.find(name);
        if (it != entries.end() && it->second && !it->second->Walk(callback, context)) return false;
    }
    return true;
}

PExprItem ExprItem_NamedData::Clone() const {
    auto* copy = new ExprItem_NamedData();
    copy->entries = entries;
    copy->order = order;
    return PExprItem::Of(copy);
}

PExprItem ExprItem_Solver::Clone() const {
    auto* copy = new ExprItem_Solver(equation, mode);
    copy->unknowns = unknowns;
    copy->tolerance = tolerance;
    return PExprItem::Of(copy);
}

std::u16string ExprItem_OcxObj::GetDisplayText() const {
    const std::u16string type = object ? object->TypeName() : std::u16string();
    if (type.empty()) return u"[OleObject]";
    return u"[OleObject - " + type + u": " + HexText(static_cast<uint32_t>(object->Identity())) + u"]";
}

bool ExprItem_Image::IsEqual(const ExprItem& other) const {
    const auto* image = dynamic_cast<const ExprItem_Image*>(&other);
    return image != nullptr && image->picture == picture;
}

}  // namespace ovrix
