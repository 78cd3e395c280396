// The stored form of expressions: the factory that makes an empty node of a
// stored kind, and the reader that rebuilds a node tree from a tagged
// container. A sub-node is one record whose data is the sub-node's own
// container; an absent sub-node is an absent record.
//
// The reader never trusts the bytes: unknown kinds read as no value, every
// record is bounded by its region, and nodes nested deeper than
// kMaxExprDepth read as absent, so no stored tree can exhaust the stack of
// the reader or of anything that walks the tree it builds.
#pragma once

#include <cstdint>

#include "container/Container.h"
#include "container/RecordBuffer.h"
#include "expr/ExprHandle.h"

namespace ovrix {

constexpr int kMaxExprDepth = 256;

// A new empty node of a stored kind (operator codes give an operator node
// without operands); no value for any other kind id.
PExprItem CreateExprItem(uint32_t kind);

// Rebuilds one node (and its sub-nodes) from a container region.
PExprItem ReadExprItem(Region region);

// The sub-node stored under `tag` of a node's region, or no value.
PExprItem ReadSubNode(Region region, uint32_t tag);
// Writes `node` as a nested container under `tag`; nothing for no value.
void SaveSubNode(RecordBuffer& buffer, uint32_t tag, const PExprItem& node);

// The stored bytes of one node, as a step record keeps them.
RecordBuffer SaveExprItem(const PExprItem& node);

}  // namespace ovrix
