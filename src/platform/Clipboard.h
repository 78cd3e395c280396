// The clipboard's text, and the place in the clipboard-viewer chain through
// which a change made by another program is noticed.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Facet.h"

namespace ovrix {

class Clipboard : public TracedFacet {
public:
    // Traced.
    bool SetClipboardText(std::u16string_view text);

    // The clipboard's text; empty when it holds none or cannot be opened.
    virtual std::u16string GetClipboardText() = 0;
    // The progress window's place in the chain: joining (false without a
    // window) resets the notice count, and joining itself brings the first
    // notice; each clipboard change brings one more.
    virtual bool JoinClipboardChain() = 0;
    virtual uint32_t ClipboardNotices() = 0;
    virtual void LeaveClipboardChain() = 0;

protected:
    virtual bool DoSetClipboardText(std::u16string_view text) = 0;
};

}  // namespace ovrix
