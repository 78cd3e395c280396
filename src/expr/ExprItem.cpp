// Base behaviour shared by every value kind: a value evaluates to itself,
// is true when its number is not 0.0, and equals another item of the same
// kind with exactly the same value text.
#include "expr/ExprItem.h"

#include "container/Tags.h"
#include "container/Text.h"
#include "expr/ExprState.h"

namespace ovrix {

void VarExtInf::CopyFrom(const VarExtInf& other) {
    for (const auto& [name, value] : other.members) {
        PExprItem copy = value.DeepCopy();
        // Each member keeps a cell of its own, even when the copy is no value.
        if (!copy.HasCell()) copy.Assign(nullptr);
        members[name] = std::move(copy);
    }
}

ExprItem::~ExprItem() = default;

VarExtInf& ExprItem::EnsureMembers() {
    if (!members_) members_ = std::make_unique<VarExtInf>();
    return *members_;
}

// Identities are handed out on first request; 0 is never used.
uint32_t ExprItem::Identity() const {
    if (identity_ != 0) return identity_;
    ExprState* state = CurrentExprState();
    if (state == nullptr) return 0;
    if (++state->lastIdentity == 0) ++state->lastIdentity;
    identity_ = state->lastIdentity;
    return identity_;
}

bool ExprItem::Walk(ExprWalkFn callback, void* context) { return callback(this, context); }

bool ExprItem::GetBool() const { return GetNumber() != 0.0; }

PExprItem ExprItem::Evaluate() { return PExprItem::Of(this); }

void ExprItem::Save(RecordBuffer& buffer) const { WriteU32(buffer, tag::kType, kind_); }

bool ExprItem::IsEqual(const ExprItem& other) const {
    return kind_ == other.kind_ && GetValueText() == other.GetValueText();
}

std::u16string Marker(char16_t letter, std::u16string_view text) {
    std::u16string out = u"**";
    out += letter;
    out += u"[" + Decimal(static_cast<int64_t>(text.size())) + u"]";
    out += text;
    return out;
}

std::u16string IdentityText(std::u16string_view label, uint32_t identity) {
    return u"[" + std::u16string(label) + u":" + HexText(identity) + u"]";
}

}  // namespace ovrix
