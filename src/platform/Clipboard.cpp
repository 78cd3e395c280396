#include "platform/Clipboard.h"

#include <string>

#include "platform/ClipboardHtml.h"
#include "platform/Trace.h"

namespace ovrix {

bool Clipboard::SetClipboardText(std::u16string_view text) {
    TraceEvent("clipboard", JsonString(text));
    return DoSetClipboardText(text);
}

bool Clipboard::SetClipboardHtml(std::u16string_view markup) {
    TraceEvent("clipboard-html", JsonString(markup));
    return DoSetClipboardHtml(HtmlFormatData(markup), markup);
}

bool Clipboard::SetClipboardImage(const VBmp& picture) {
    if (picture.Empty()) return false;
    TraceEvent("clipboard-image", std::to_string(picture.width) + " " + std::to_string(picture.height));
    return DoSetClipboardImage(picture);
}

}  // namespace ovrix
