// The Strings family of built-in functions: descriptors (keys, return kinds,
// arguments, defaults, flags) and implementations. No rows are registered
// yet; the catalogue counts this family as missing until they are.
#include "builtins/FamilyTable.h"

namespace ovrix {

std::span<const FunctionSpec> StringFunctions() { return {}; }

}  // namespace ovrix
