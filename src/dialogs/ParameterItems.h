// The input parameters dialog's decisions: the rows a parameter text asks
// for, whether OK may close the dialog, and the named data it gives. One
// line of the text is one row, "Name = value"; a name ending in '*' must not
// be left empty.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "expr/ExprHandle.h"
#include "platform/Dialogs.h"

namespace ovrix {

// The rows of a parameter text, in its order. Lines are cut at CR LF; a line
// whose name is empty, before or after its '*' marks are taken off, asks for
// nothing.
std::vector<ParameterItem> ParseParameterText(std::u16string_view text);

// Why OK is refused: the row to edit and the message to show.
struct RefusedOk {
    size_t row = 0;
    std::u16string message;
};

// The first required item whose value is empty refuses OK; values are the
// rows' values in item order (a missing one counts as empty).
std::optional<RefusedOk> CheckParameters(std::span<const ParameterItem> items,
                                         std::span<const std::u16string> values);

// Named data with one text member per item, in item order, holding the
// row's value (a missing one is empty).
PExprItem ParametersResult(std::span<const ParameterItem> items, std::span<const std::u16string> values);

}  // namespace ovrix
