// Array operations. Slots are cells: Get answers the slot's own cell, Set
// and Insert store the caller's cell, Push stores a fresh cell on the item.
// Nothing here copies an item.
#include "expr/Array.h"

#include <algorithm>
#include <cmath>

#include "expr/KindsNode.h"
#include "expr/KindsObject.h"
#include "expr/KindsValue.h"
#include "container/Text.h"

namespace ovrix {

void AnyArray::Reserve(size_t n) {
    size_t capacity = elements.capacity();
    if (capacity >= n) return;
    if (capacity == 0) capacity = 1;
    while (capacity < n) capacity *= 2;
    elements.reserve(capacity);
}

void AnyArray::Push(const PExprItem& value) {
    Reserve(elements.size() + 1);
    elements.push_back(PExprItem::Of(value.Item()));
}

PExprItem AnyArray::Pop() {
    if (elements.empty()) return {};
    PExprItem last = std::move(elements.back());
    elements.pop_back();
    return last;
}

PExprItem AnyArray::Get(int64_t index) const {
    if (index < 0 || index >= Size()) return {};
    return elements[static_cast<size_t>(index)];
}

void AnyArray::Set(int64_t index, const PExprItem& value) {
    if (index < 0 || index >= Size()) return;
    elements[static_cast<size_t>(index)] = value;
}

void AnyArray::Insert(int64_t index, const PExprItem& value) {
    const int64_t at = std::clamp<int64_t>(index, 0, Size());
    Reserve(elements.size() + 1);
    elements.insert(elements.begin() + at, value);
}

void AnyArray::Remove(int64_t index, int64_t count) {
    if (index < 0 || index >= Size() || count < 1) return;
    const int64_t end = count >= Size() - index ? Size() : index + count;
    elements.erase(elements.begin() + index, elements.begin() + end);
}

namespace {

// Orders NaN after every other number so that the sort always sees a strict
// weak order, whatever the slots hold.
bool NumberLess(double a, double b) {
    if (std::isnan(a)) return false;
    if (std::isnan(b)) return true;
    return a < b;
}

}  // namespace

void AnyArray::Sort(bool ascending) {
    if (elements.empty()) return;
    const ExprItem* first = elements.front().Item();
    if (first != nullptr && first->Kind() == kind::kNumber) {
        std::vector<std::pair<double, PExprItem>> keyed;
        keyed.reserve(elements.size());
        for (PExprItem& e : elements) keyed.emplace_back(AsNumber(e), std::move(e));
        std::sort(keyed.begin(), keyed.end(), [ascending](const auto& a, const auto& b) {
            return ascending ? NumberLess(a.first, b.first) : NumberLess(b.first, a.first);
        });
        for (size_t i = 0; i < keyed.size(); ++i) elements[i] = std::move(keyed[i].second);
        return;
    }
    std::vector<std::pair<std::u16string, PExprItem>> keyed;
    keyed.reserve(elements.size());
    for (PExprItem& e : elements) keyed.emplace_back(AsText(e), std::move(e));
    std::sort(keyed.begin(), keyed.end(), [ascending](const auto& a, const auto& b) {
        return ascending ? a.first < b.first : b.first < a.first;
    });
    for (size_t i = 0; i < keyed.size(); ++i) elements[i] = std::move(keyed[i].second);
}

std::u16string AnyArray::Print(int64_t start, int64_t count, bool raw) const {
    // end = min(start + count, size), a count of 0 meaning the size; a
    // negative count ends before it starts. Compared before adding so that
    // extreme indexes cannot overflow.
    if (count < 0) return {};
    int64_t end = Size();
    if (count > 0 && start < end - count) end = start + count;
    std::u16string out;
    for (int64_t i = std::max<int64_t>(start, 0); i < end; ++i) {
        const PExprItem& e = elements[static_cast<size_t>(i)];
        if (!raw) out += u"[" + Decimal(i) + u"] = ";
        if (e) out += raw ? e->GetValueText() : e->GetDisplayText();
        out += u"\r\n";
    }
    return out;
}

PExprItem EvaluateListElement(const ExprItem_ValueList& list, size_t index) {
    if (index >= list.elements.size() || !list.elements[index]) return {};
    return list.elements[index]->Evaluate();
}

namespace containers {

namespace {

// The array in the first argument when at least `needed` arguments are
// given, else null.
AnyArray* ArrayArgument(Arguments args, size_t needed) {
    if (args.size() < needed || args.empty()) return nullptr;
    return ItemAs<AnyArray>(args[0]);
}

}  // namespace

PExprItem Array_Create(Arguments) { return MakeItem<AnyArray>(); }

PExprItem Array_Push(Arguments args) {
    if (AnyArray* a = ArrayArgument(args, 2)) a->Push(args[1]);
    return {};
}

PExprItem Array_Pop(Arguments args) {
    AnyArray* a = ArrayArgument(args, 1);
    return a ? a->Pop() : PExprItem();
}

PExprItem Array_Get(Arguments args) {
    AnyArray* a = ArrayArgument(args, 2);
    return a ? a->Get(AsInteger(args[1])) : PExprItem();
}

PExprItem Array_Set(Arguments args) {
    if (AnyArray* a = ArrayArgument(args, 3)) a->Set(AsInteger(args[1]), args[2]);
    return {};
}

PExprItem Array_Insert(Arguments args) {
    if (AnyArray* a = ArrayArgument(args, 3)) a->Insert(AsInteger(args[1]), args[2]);
    return {};
}

PExprItem Array_Remove(Arguments args) {
    if (AnyArray* a = ArrayArgument(args, 2)) a->Remove(AsInteger(args[1]), args.size() > 2 ? AsInteger(args[2]) : 1);
    return {};
}

PExprItem Array_Clear(Arguments args) {
    if (AnyArray* a = ArrayArgument(args, 1)) a->Clear();
    return {};
}

PExprItem Array_Sort(Arguments args) {
    if (AnyArray* a = ArrayArgument(args, 2)) a->Sort(AsTruth(args[1]));
    return {};
}

PExprItem Array_GetSize(Arguments args) {
    AnyArray* a = ArrayArgument(args, 1);
    return a ? MakeItem<ExprItem_Num>(static_cast<double>(a->Size())) : PExprItem();
}

PExprItem Array_Print(Arguments args) {
    AnyArray* a = ArrayArgument(args, 3);
    if (a == nullptr) return {};
    const bool raw = args.size() > 3 && AsTruth(args[3]);
    return MakeItem<ExprItem_Text>(a->Print(AsInteger(args[1]), AsInteger(args[2]), raw));
}

}  // namespace containers

}  // namespace ovrix
