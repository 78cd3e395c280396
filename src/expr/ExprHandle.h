// The one-word value handle. A PExprItem points at a shared cell
// (PExprItemObj) that holds one item; every handle on the same cell sees
// the same item, and assigning through a handle replaces the item inside
// the cell, so variables, array slots and members that share the cell all
// see the new value. A null handle and a cell without an item both mean
// "no value".
//
// Only the handle touches its cell. The cell's class is declared here so
// that reaching the item (done on every operand of every operator) is an
// inline load rather than a call; nothing outside ExprHandle.cpp uses it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "container/Ref.h"

namespace ovrix {

class ExprItem;

class PExprItemObj final : public VObj {
public:
    PExprItemObj();
    ~PExprItemObj() override;
    // Made for every result and dropped soon after: recycled like Numbers.
    static void* operator new(size_t size);
    static void operator delete(void* p);

    Ref<ExprItem> item;
};

class PExprItem {
public:
    PExprItem();
    PExprItem(std::nullptr_t);
    PExprItem(const PExprItem& other);
    PExprItem(PExprItem&& other) noexcept;
    PExprItem& operator=(const PExprItem& other);
    PExprItem& operator=(PExprItem&& other) noexcept;
    ~PExprItem();

    // A fresh cell around the item (a null item gives a null handle).
    static PExprItem Of(ExprItem* item);

    // The item, or null when there is no value.
    ExprItem* Item() const { return cell_ ? cell_->item.Get() : nullptr; }
    ExprItem* operator->() const { return Item(); }
    bool HasValue() const { return Item() != nullptr; }
    explicit operator bool() const { return HasValue(); }

    // True when the handle has a cell (which may still hold no item).
    bool HasCell() const;
    bool SharesCellWith(const PExprItem& other) const;

    // Assignment through the handle: creates the cell when the handle has
    // none, else replaces the item inside the existing cell. The new item is
    // counted before the old one is released, so assigning an item to the
    // cell that already holds it is harmless.
    void Assign(ExprItem* item);
    void Assign(const PExprItem& value) { Assign(value.Item()); }

    // Drops this handle's share of its cell.
    void Reset();

    // True when the item is held by more than this one holder (a variable's
    // value, an array element, a constant of a script): an assignment that
    // must not share it takes a DeepCopy.
    bool IsItemShared() const;
    // A clone of the item together with a copy of its member table whose
    // members are deep copies in turn; no value when the kind has no clone.
    PExprItem DeepCopy() const;

    // Number of handles and holders that share this cell (0 for a null handle).
    int32_t CellShareCount() const;

private:
    Ref<PExprItemObj> cell_;
};

// Makes a new item of kind T and a fresh handle on it.
template <class T, class... Args>
PExprItem MakeItem(Args&&... args) {
    return PExprItem::Of(new T(std::forward<Args>(args)...));
}

// The item as the given kind class, or null when there is no value or the
// item is of another class.
template <class T>
T* ItemAs(const PExprItem& handle) {
    return dynamic_cast<T*>(handle.Item());
}

// The conversions that every consumer of a value uses; no value gives empty
// text, 0.0, false and 0.
std::u16string AsText(const PExprItem& value);
double AsNumber(const PExprItem& value);
bool AsTruth(const PExprItem& value);
int64_t AsInteger(const PExprItem& value);

// A counted object that keeps one value alive (for containers of VObj).
class Value_Obj : public VObj {
public:
    Value_Obj() = default;
    explicit Value_Obj(PExprItem v) : value(std::move(v)) {}
    PExprItem value;
};

}  // namespace ovrix
