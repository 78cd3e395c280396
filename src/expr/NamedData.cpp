// Named-data operations. The map and the name vector always hold the same
// names: every change goes through Set, Remove and Clear here.
#include "expr/NamedData.h"

#include <algorithm>

#include "expr/KindsObject.h"
#include "expr/KindsValue.h"

namespace ovrix {

void ExprItem_NamedData::Set(const std::u16string& name, const PExprItem& value) {
    if (name.empty()) return;
    const auto [it, inserted] = entries.try_emplace(name, value);
    if (inserted) {
        order.push_back(name);
    } else {
        it->second = value;
    }
}

PExprItem ExprItem_NamedData::Get(const std::u16string& name) const {
    const auto it = entries.find(name);
    return it == entries.end() ? PExprItem() : it->second;
}

const std::u16string* ExprItem_NamedData::GetName(int64_t index) const {
    if (index < 0 || index >= static_cast<int64_t>(order.size())) return nullptr;
    return &order[static_cast<size_t>(index)];
}

void ExprItem_NamedData::Remove(const std::u16string& name) {
    if (entries.erase(name) == 0) return;
    order.erase(std::find(order.begin(), order.end(), name));
}

void ExprItem_NamedData::Clear() {
    entries.clear();
    order.clear();
}

std::u16string ExprItem_NamedData::Print() const {
    std::u16string out;
    for (const std::u16string& name : order) {
        out += name + u" = ";
        const PExprItem value = Get(name);
        if (value) out += value->GetDisplayText();
        out += u"\r\n";
    }
    return out;
}

namespace containers {

namespace {

ExprItem_NamedData* NamedDataArgument(Arguments args, size_t needed) {
    if (args.size() < needed || args.empty()) return nullptr;
    return ItemAs<ExprItem_NamedData>(args[0]);
}

}  // namespace

PExprItem NamedData_Create(Arguments) { return MakeItem<ExprItem_NamedData>(); }

PExprItem NamedData_Set(Arguments args) {
    if (ExprItem_NamedData* d = NamedDataArgument(args, 3)) d->Set(AsText(args[1]), args[2]);
    return {};
}

PExprItem NamedData_Get(Arguments args) {
    ExprItem_NamedData* d = NamedDataArgument(args, 2);
    return d ? d->Get(AsText(args[1])) : PExprItem();
}

PExprItem NamedData_GetName(Arguments args) {
    ExprItem_NamedData* d = NamedDataArgument(args, 2);
    const std::u16string* name = d ? d->GetName(AsInteger(args[1])) : nullptr;
    return name ? MakeItem<ExprItem_Text>(*name) : PExprItem();
}

PExprItem NamedData_GetSize(Arguments args) {
    ExprItem_NamedData* d = NamedDataArgument(args, 1);
    return d ? MakeItem<ExprItem_Num>(static_cast<double>(d->Size())) : PExprItem();
}

PExprItem NamedData_Remove(Arguments args) {
    if (ExprItem_NamedData* d = NamedDataArgument(args, 2)) d->Remove(AsText(args[1]));
    return {};
}

PExprItem NamedData_Clear(Arguments args) {
    if (ExprItem_NamedData* d = NamedDataArgument(args, 1)) d->Clear();
    return {};
}

PExprItem NamedData_Print(Arguments args) {
    ExprItem_NamedData* d = NamedDataArgument(args, 1);
    return d ? MakeItem<ExprItem_Text>(d->Print()) : PExprItem();
}

}  // namespace containers

}  // namespace ovrix
