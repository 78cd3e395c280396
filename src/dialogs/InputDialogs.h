// The decisions of the input boxes and the selection list: what each dialog
// is shown with, how the select-only list orders and preselects its items
// (so that a desktop without the real control answers as it would), and how
// an input box's answer becomes a number. The dialogs themselves belong to
// the platform.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "expr/ExprHandle.h"
#include "platform/Dialogs.h"

namespace ovrix {

// The template caption stays when both the title and the default title are
// empty: the caption is only ever set to a text that is not empty.
std::u16string DialogCaption(std::u16string_view title, std::u16string_view defaultTitle);

InputBoxRequest MakeInputBoxRequest(std::u16string_view prompt, std::u16string_view defaultText,
                                    std::u16string_view title, std::u16string_view defaultTitle, bool multiLine);

// The items of a selection list: an array's elements as texts, in order,
// or a text's lines cut at CR LF with empty lines left out. An array
// element whose text is empty would be an empty row; it is left out too.
std::vector<std::u16string> SelectListItems(const PExprItem& itemsOrText);

// The list's caption is the title alone: a selection list has no default title.
SelectListRequest MakeSelectListRequest(std::vector<std::u16string> items, bool selectOnly, std::u16string_view prompt,
                                        std::u16string_view title, std::u16string_view defaultItem);

// The items in the order the combo box shows them: the select-only list
// sorts them alphabetically without regard to case, the other keeps them.
std::vector<std::u16string> ShownItems(const SelectListRequest& request);
// The index in `shown` of the first item that begins with the default item,
// without regard to case; none for an empty default item or no match.
std::optional<size_t> PreselectedItem(const std::vector<std::u16string>& shown, std::u16string_view defaultItem);
// The combo box's text as the dialog opens: the preselected item, or else,
// in the select-or-enter form, the default item in its edit field.
std::u16string OpeningSelection(const SelectListRequest& request);

// An input box's answer read as a number: with a '.' a real number, with a
// leading "0x" or "0X" a hexadecimal 32-bit word, else a decimal integer
// (beyond 32 bits it stops at the nearest end); 0 when nothing reads.
double ReadInputNumber(std::u16string_view answer);

}  // namespace ovrix
