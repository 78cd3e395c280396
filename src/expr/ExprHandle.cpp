// The cell behind a PExprItem. Counting is plain: values never leave the
// playback thread.
#include "expr/ExprHandle.h"

#include <cmath>

#include "container/Recycler.h"
#include "expr/ExprItem.h"
#include "expr/NumberFormat.h"

namespace ovrix {

PExprItemObj::PExprItemObj() = default;
PExprItemObj::~PExprItemObj() = default;
void* PExprItemObj::operator new(size_t) { return Recycler<sizeof(PExprItemObj)>::Take(); }
void PExprItemObj::operator delete(void* p) { Recycler<sizeof(PExprItemObj)>::Give(p); }

PExprItem::PExprItem() = default;
PExprItem::PExprItem(std::nullptr_t) {}
PExprItem::PExprItem(const PExprItem& other) = default;
PExprItem::PExprItem(PExprItem&& other) noexcept = default;
PExprItem& PExprItem::operator=(const PExprItem& other) = default;
PExprItem& PExprItem::operator=(PExprItem&& other) noexcept = default;
PExprItem::~PExprItem() = default;

PExprItem PExprItem::Of(ExprItem* item) {
    PExprItem h;
    if (item == nullptr) return h;
    h.cell_ = MakeRef<PExprItemObj>();
    h.cell_->item = Ref<ExprItem>(item);
    return h;
}

bool PExprItem::HasCell() const { return static_cast<bool>(cell_); }

bool PExprItem::SharesCellWith(const PExprItem& other) const { return cell_ && cell_.Get() == other.cell_.Get(); }

void PExprItem::Assign(ExprItem* item) {
    if (!cell_) cell_ = MakeRef<PExprItemObj>();
    // Ref's assignment counts the new item before the old one is released.
    cell_->item = Ref<ExprItem>(item);
}

void PExprItem::Reset() { cell_ = nullptr; }

bool PExprItem::IsItemShared() const {
    const ExprItem* item = Item();
    return item != nullptr && item->RefCount() != 1;
}

namespace {

// Member tables can reach their own item again (an alias stored as its own
// member); copying stops at this depth instead of recursing forever.
constexpr int kMaxCopyDepth = 256;
thread_local int copyDepth = 0;

}  // namespace

PExprItem PExprItem::DeepCopy() const {
    ExprItem* item = Item();
    if (item == nullptr) return {};
    PExprItem copy = item->Clone();
    if (!copy || item->Members() == nullptr || copyDepth >= kMaxCopyDepth) return copy;
    ++copyDepth;
    copy->EnsureMembers().CopyFrom(*item->Members());
    --copyDepth;
    return copy;
}

int32_t PExprItem::CellShareCount() const { return cell_ ? cell_->RefCount() : 0; }

std::u16string AsText(const PExprItem& value) { return value ? value->GetValueText() : std::u16string(); }
double AsNumber(const PExprItem& value) { return value ? value->GetNumber() : 0.0; }
bool AsTruth(const PExprItem& value) { return value ? value->GetBool() : false; }
int64_t AsInteger(const PExprItem& value) { return TruncateToInt64(AsNumber(value)); }

}  // namespace ovrix
