#include "platform/Clipboard.h"

#include "platform/Trace.h"

namespace ovrix {

bool Clipboard::SetClipboardText(std::u16string_view text) {
    TraceEvent("clipboard", JsonString(text));
    return DoSetClipboardText(text);
}

}  // namespace ovrix
