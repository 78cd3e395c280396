// Variable lookup and assignment by canonical name. The name's first
// character routes it: '$' and '@' to the current frame's script table,
// '!' and '#' to the two program-wide tables of the installed expression
// state; any other first character, or a '$'/'@' name while there is no
// current frame, reaches nothing and stores to it are dropped. Member parts ("$rec.name") walk the member
// tables of the values, which are created on first store.
//
// Every table entry is a cell: storing into an existing variable replaces
// the item inside its cell, so whatever shares the cell sees the new value;
// storing a new variable adopts the value's own cell. Nothing here reports
// an error: a missing variable or member is simply no value.
#pragma once

#include <string_view>

#include "expr/ExprHandle.h"
#include "expr/VariableFrame.h"

namespace ovrix {

// The table that the name's prefix chooses, or null.
VariableTable* VariableTableFor(std::u16string_view name);

// The cell of the variable with that canonical base name; a handle without
// a cell when there is no such variable.
PExprItem FindVariable(std::u16string_view baseName);

// The functions below take an optional slot: a variable node's memory of
// where its variable lives, used and refreshed so that a node played again
// and again does not search the table each time.

// The value that a canonical name (with member parts) reaches: a new handle
// on the item, which shares the item but not the variable's cell. No value
// when the variable or a member is missing; `found` tells whether every
// part exists (a variable that holds no value still counts as found).
PExprItem GetVariable(std::u16string_view name, bool* found = nullptr, VariableSlot* slot = nullptr);

// The item that the name reaches now, without a handle of its own; null
// when there is none. A caller that keeps it past the next assignment or
// removal must count it (Ref).
ExprItem* VariableItem(std::u16string_view name, VariableSlot* slot = nullptr);

// Assignment by name without copying (the Alias semantics).
void StoreVariable(std::u16string_view name, const PExprItem& value, VariableSlot* slot = nullptr);

// Removes the entry whose key is exactly this canonical text; a missing
// name changes nothing.
void RemoveVariable(std::u16string_view baseName);

// Set: a value that is also held elsewhere (another variable, an array
// slot, a script constant) is stored as a deep copy; a fresh value is
// stored as it is.
void SetVariable(std::u16string_view name, const PExprItem& value, VariableSlot* slot = nullptr);
// SetVariable with a new Number of this value and these display flags. A
// Number that only the variable's cell holds takes the value in place.
void SetVariableNumber(std::u16string_view name, double value, uint32_t flags, VariableSlot* slot = nullptr);

// Add: changes the target's value in place by the target's kind (numbers
// add, texts append, ...); a missing target or one without a value is Set.
void AddToVariable(std::u16string_view name, const PExprItem& value, VariableSlot* slot = nullptr);

// The program-wide tables: the '!' table is emptied at the start of every
// pass; both are emptied when playback begins and ends.
void ClearPassVariables();
void ClearProgramVariables();

}  // namespace ovrix
