// The named-data operations as built-in functions call them: the call's
// evaluated arguments with the named data first. A first argument that is
// not named data, or fewer arguments than the operation names, does
// nothing and answers no value. Names are read as texts and compared
// exactly; an empty name counts as missing.
#pragma once

#include "expr/Array.h"

namespace ovrix::containers {

PExprItem NamedData_Create(Arguments args);
PExprItem NamedData_Set(Arguments args);      // named data, name, value
PExprItem NamedData_Get(Arguments args);      // named data, name
PExprItem NamedData_GetName(Arguments args);  // named data, index
PExprItem NamedData_GetSize(Arguments args);  // named data
PExprItem NamedData_Remove(Arguments args);   // named data, name
PExprItem NamedData_Clear(Arguments args);    // named data
PExprItem NamedData_Print(Arguments args);    // named data

}  // namespace ovrix::containers
