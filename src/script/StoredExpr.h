// A stored expression held by a step: the record's bytes exactly as loaded,
// so that saving the step writes the expression back unchanged, and the node
// tree read from them once, which the step's text form shows and playback
// evaluates. Copies of a step share the tree (expression handles are shared,
// not deep-copied); two stored expressions are equal when their bytes are.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "container/Container.h"
#include "container/RecordBuffer.h"
#include "expr/ExprHandle.h"

namespace ovrix {

class StoredExpr {
public:
    StoredExpr() = default;
    explicit StoredExpr(std::vector<uint8_t> bytes);

    // Reads the nested container under `tag` of a step record; absent leaves it empty.
    void Load(Region step, uint32_t tag);
    // Writes it back under `tag`; nothing when it was absent.
    void Save(RecordBuffer& buffer, uint32_t tag) const;

    bool Present() const { return present_; }
    Region AsRegion() const { return Region{bytes_.data(), static_cast<uint32_t>(bytes_.size())}; }
    const std::vector<uint8_t>& Bytes() const { return bytes_; }
    // The node tree; a null handle when absent or when the bytes hold no
    // node the reader can build.
    const PExprItem& Node() const { return node_; }

    // Display text of the expression, as step text forms show it (empty
    // when absent or when the bytes hold no node the reader can build).
    std::u16string DisplayText() const;

    bool operator==(const StoredExpr& other) const {
        return present_ == other.present_ && bytes_ == other.bytes_;
    }

private:
    bool present_ = false;
    std::vector<uint8_t> bytes_;
    PExprItem node_;
};

// Stored value nodes in the form the expression language saves them, for
// fields that older records keep as plain values and for building scripts.
StoredExpr NumberExpr(double value, uint32_t displayFlags = 0);
StoredExpr TextExpr(std::u16string_view text);
StoredExpr BoolExpr(bool value);
StoredExpr VariableExpr(std::u16string_view name);

}  // namespace ovrix
