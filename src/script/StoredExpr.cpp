// Stored expressions: the bytes as loaded and the node tree read from them.
#include "script/StoredExpr.h"

#include <functional>
#include <string>

#include "container/Tags.h"
#include "container/Text.h"
#include "expr/ExprItem.h"
#include "expr/ExprKinds.h"
#include "expr/ExprReader.h"

namespace ovrix {

StoredExpr::StoredExpr(std::vector<uint8_t> bytes)
    : present_(true), bytes_(std::move(bytes)), node_(ReadExprItem(AsRegion())) {}

void StoredExpr::Load(Region step, uint32_t tag) {
    present_ = false;
    bytes_.clear();
    node_ = PExprItem();
    if (auto r = FindRecord(step, tag)) {
        present_ = true;
        bytes_.assign(r->base, r->base + r->size);
        node_ = ReadExprItem(AsRegion());
    }
}

void StoredExpr::Save(RecordBuffer& buffer, uint32_t tag) const {
    if (!present_) return;
    WriteRecord(buffer, tag, bytes_.data(), static_cast<uint32_t>(bytes_.size()));
}

std::u16string StoredExpr::DisplayText() const {
    const ExprItem* node = node_.Item();
    return node != nullptr ? node->GetDisplayText() : u"";
}

namespace {

StoredExpr Node(uint32_t kind, const std::function<void(RecordBuffer&)>& fields) {
    RecordBuffer node;
    WriteU32(node, tag::kType, kind);
    fields(node);
    return StoredExpr(node.ToVector());
}

}  // namespace

StoredExpr NumberExpr(double value, uint32_t displayFlags) {
    return Node(kind::kNumber, [&](RecordBuffer& b) {
        WriteU32(b, tag::kNumberFlags, displayFlags);
        WriteF64(b, tag::kNumber, value);
    });
}

StoredExpr TextExpr(std::u16string_view text) {
    return Node(kind::kText, [&](RecordBuffer& b) { WriteString(b, tag::kText, text); });
}

StoredExpr BoolExpr(bool value) {
    return Node(kind::kBool, [&](RecordBuffer& b) { WriteU32(b, tag::kBool, value ? 1 : 0); });
}

StoredExpr VariableExpr(std::u16string_view name) {
    return Node(kind::kVariable, [&](RecordBuffer& b) { WriteString(b, tag::kVar, name); });
}

}  // namespace ovrix
