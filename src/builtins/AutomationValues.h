// Script values and automation values, both ways, and a member call on an
// object through the desktop, shared by the automation and the workbook
// families. The choices where the two kinds of value do not meet one to
// one:
//   - Numbers, window handles and system handles go as numbers; texts,
//     truth values, dates, arrays and automation objects as their own kind;
//     Empty and no value as empty; any other value as its value text.
//   - An array (or an argument list) goes element by element; an element
//     that holds no value goes as empty. Arrays nested deeper than
//     kMaxNesting (an array that holds itself) go as empty there.
//   - Coming back, an error value becomes its status code as a hexadecimal
//     Number, an object without an interface becomes Empty.
#pragma once

#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "expr/ExprHandle.h"
#include "platform/Automation.h"

namespace ovrix {

inline constexpr int kMaxNesting = 32;

AutoValue ToAutoValue(const PExprItem& value, int depth = 0);
PExprItem FromAutoValue(const AutoValue& value);

// The values of an argument list (a ValueList's elements, each evaluated).
std::vector<AutoValue> AutoArguments(const PExprItem& list);

// The desktop's automation facet; null without a host.
Automation* CurrentAutomation();

}  // namespace ovrix
