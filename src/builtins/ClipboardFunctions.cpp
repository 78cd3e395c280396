// The clipboard family: reading, waiting for and writing the clipboard's
// text, HTML and picture. HTML is read as the plain text of its fragment
// (ClipboardHtml.h).
#include "builtins/BuiltinHost.h"
#include "builtins/FamilyTable.h"
#include "expr/KindsObject.h"
#include "container/Text.h"
#include "platform/ClipboardHtml.h"
#include "platform/Desktop.h"

namespace ovrix {

namespace {

// A timeout of 0 or below waits until the clipboard changes or playback stops.
PExprItem* WaitClipboardText(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    BuiltinHost* host = GetBuiltinHost();
    if (host == nullptr) return fnargs::None(result);
    const double timeout = fnargs::Number(args, count, 0);
    const uint32_t timeoutMs = !(timeout > 0) ? 0 : timeout >= 4294967295.0 ? 0xFFFFFFFFu : static_cast<uint32_t>(timeout);
    return fnargs::ReturnText(result, host->WaitClipboardChange(timeoutMs));
}

PExprItem* GetClipboardText(PExprItem* result, int32_t, PExprItem*, uint32_t) {
    BuiltinHost* host = GetBuiltinHost();
    if (host == nullptr) return fnargs::None(result);
    return fnargs::ReturnText(result, host->GetDesktop().clipboard.GetClipboardText());
}

PExprItem* SetClipboardText(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    BuiltinHost* host = GetBuiltinHost();
    if (host != nullptr && count >= 1) host->GetDesktop().clipboard.SetClipboardText(fnargs::Text(args, count, 0));
    return fnargs::None(result);
}

PExprItem* GetClipboardHtml(PExprItem* result, int32_t, PExprItem*, uint32_t) {
    BuiltinHost* host = GetBuiltinHost();
    if (host == nullptr) return fnargs::None(result);
    return fnargs::ReturnText(result, HtmlFragmentText(FromUtf8(host->GetDesktop().clipboard.GetClipboardHtml())));
}

PExprItem* SetClipboardHtml(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    BuiltinHost* host = GetBuiltinHost();
    if (host != nullptr && count >= 1) host->GetDesktop().clipboard.SetClipboardHtml(fnargs::Text(args, count, 0));
    return fnargs::None(result);
}

PExprItem* GetClipboardImage(PExprItem* result, int32_t, PExprItem*, uint32_t) {
    BuiltinHost* host = GetBuiltinHost();
    std::optional<VBmp> picture = host != nullptr ? host->GetDesktop().clipboard.GetClipboardImage() : std::nullopt;
    if (!picture || picture->Empty()) return fnargs::None(result);
    return fnargs::ReturnValue(result, MakeItem<ExprItem_Image>(std::move(*picture)));
}

PExprItem* SetClipboardImage(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    BuiltinHost* host = GetBuiltinHost();
    const auto* image = count >= 1 ? ItemAs<ExprItem_Image>(args[0]) : nullptr;
    if (host != nullptr && image != nullptr) host->GetDesktop().clipboard.SetClipboardImage(image->picture);
    return fnargs::None(result);
}

const FunctionSpec kClipboard[] = {
    {u"WaitClipboardText", fkind::kText, WaitClipboardText, {{u"Timeout(ms)", fkind::kNumber}}},
    {u"GetClipboardText", fkind::kText, GetClipboardText},
    {u"GetClipboardHtml", fkind::kText, GetClipboardHtml},
    {u"GetClipboardImage", fkind::kObject, GetClipboardImage, {}, u"Image"},
    {u"SetClipboardImage", fkind::kNothing, SetClipboardImage, {{u"Image", fkind::kObject, {}, 0, u"Image Image"}}},
    {u"SetClipboardText", fkind::kNothing, SetClipboardText, {{u"Text", fkind::kText}}},
    {u"SetClipboardHtml", fkind::kNothing, SetClipboardHtml, {{u"Rtf", fkind::kText}}},
};

}  // namespace

std::span<const FunctionSpec> ClipboardFunctions() { return kClipboard; }

}  // namespace ovrix
