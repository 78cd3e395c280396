// The clipboard family: reading, waiting for and writing the clipboard's
// text, HTML and picture. Every row needs the desktop, so the rows are
// registered with no implementation yet: a call shows and saves as usual
// and evaluates to no value.
#include "builtins/FamilyTable.h"

namespace ovrix {

namespace {

const FunctionSpec kClipboard[] = {
    {u"WaitClipboardText", fkind::kText, nullptr, {{u"Timeout(ms)", fkind::kNumber}}},
    {u"GetClipboardText", fkind::kText, nullptr},
    {u"GetClipboardHtml", fkind::kText, nullptr},
    {u"GetClipboardImage", fkind::kObject, nullptr, {}, u"Image"},
    {u"SetClipboardImage", fkind::kNothing, nullptr, {{u"Image", fkind::kObject, {}, 0, u"Image Image"}}},
    {u"SetClipboardText", fkind::kNothing, nullptr, {{u"Text", fkind::kText}}},
    {u"SetClipboardHtml", fkind::kNothing, nullptr, {{u"Rtf", fkind::kText}}},
};

}  // namespace

std::span<const FunctionSpec> ClipboardFunctions() { return kClipboard; }

}  // namespace ovrix
