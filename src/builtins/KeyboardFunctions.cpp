// The keyboard family: key states, pressing and releasing keys, and typing
// text. Every row needs the desktop, so the rows are registered with no
// implementation yet: a call shows and saves as usual and evaluates to no
// value.
#include "builtins/FamilyTable.h"

namespace ovrix {

namespace {

const ArgSpec kKey{u"Key", fkind::kNumber, DefNumber(17, u"VirtualKey")};

const FunctionSpec kKeyboard[] = {
    {u"IsKeyDown", fkind::kBool, nullptr, {kKey}},
    {u"KeyDown", fkind::kNothing, nullptr, {kKey}},
    {u"KeyUp", fkind::kNothing, nullptr, {kKey}},
    {u"TypeText", fkind::kNothing, nullptr,
     {{u"Text", fkind::kText}, {u"UseClipboardToPaste", fkind::kBool, DefBool(true)}}, nullptr,
     u"Note: If the second argument is True, it will use the clipboard to paste the text."},
};

}  // namespace

std::span<const FunctionSpec> KeyboardFunctions() { return kKeyboard; }

}  // namespace ovrix
