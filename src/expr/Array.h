// The array operations as built-in functions call them, and the reading of
// value-list elements. Each operation takes the call's evaluated arguments
// with the array first. A first argument that is not an array, or fewer
// arguments than the operation names (optional trailing ones aside), does
// nothing and answers no value. Indexes and counts are read as integers
// (truncated toward zero), so 1.9 names slot 1.
#pragma once

#include <cstddef>
#include <span>

#include "expr/ExprHandle.h"

namespace ovrix {

class ExprItem_ValueList;

namespace containers {

using Arguments = std::span<const PExprItem>;

PExprItem Array_Create(Arguments args);
PExprItem Array_Push(Arguments args);     // array, value
PExprItem Array_Pop(Arguments args);      // array
PExprItem Array_Get(Arguments args);      // array, index
PExprItem Array_Set(Arguments args);      // array, index, value
PExprItem Array_Insert(Arguments args);   // array, index, value
PExprItem Array_Remove(Arguments args);   // array, index, count = 1
PExprItem Array_Clear(Arguments args);    // array
PExprItem Array_Sort(Arguments args);     // array, ascend
PExprItem Array_GetSize(Arguments args);  // array
PExprItem Array_Print(Arguments args);    // array, start, count, raw = false

}  // namespace containers

// A value list keeps its elements as unevaluated nodes: the operation that
// receives the list evaluates an element when it needs its value. Answers
// no value for an absent element or an index out of range.
PExprItem EvaluateListElement(const ExprItem_ValueList& list, size_t index);

}  // namespace ovrix
