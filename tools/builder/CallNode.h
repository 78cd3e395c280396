// Built-in call nodes for tests and benchmarks, made the way the loader makes
// them: written in their stored form and read back, so the registry resolves
// the key and fills missing arguments from the function's defaults.
#pragma once

#include <string_view>
#include <vector>

#include "expr/ExprItem.h"

namespace ovrix {

PExprItem LoadCall(std::u16string_view key, const std::vector<PExprItem>& args);

}  // namespace ovrix
