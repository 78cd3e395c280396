// The clipboard's text, HTML and picture, and the place in the clipboard-viewer
// chain through which a change made by another program is noticed. Putting
// either on the clipboard empties it first, as the system's clipboard does.
// Traced as
//   clipboard "<text>"
//   clipboard-html "<text>"
//   clipboard-image <width> <height>
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Facet.h"
#include "platform/Picture.h"

namespace ovrix {

class Clipboard : public TracedFacet {
public:
    // Traced.
    bool SetClipboardText(std::u16string_view text);
    // Traced. The markup goes on the clipboard as "HTML Format" data
    // (ClipboardHtml.h) and, as it is, as text.
    bool SetClipboardHtml(std::u16string_view markup);
    // Traced; false for an empty picture or a clipboard that cannot be had.
    bool SetClipboardImage(const VBmp& picture);

    // The clipboard's text; empty when it holds none or cannot be opened.
    virtual std::u16string GetClipboardText() = 0;
    // The clipboard's "HTML Format" data, UTF-8 with its header; empty
    // when it holds none.
    virtual std::string GetClipboardHtml() = 0;
    // The clipboard's bitmap as a 32-bit picture; nullopt when it holds none.
    virtual std::optional<VBmp> GetClipboardImage() = 0;
    // The progress window's place in the chain: joining (false without a
    // window) resets the notice count, and joining itself brings the first
    // notice; each clipboard change brings one more.
    virtual bool JoinClipboardChain() = 0;
    virtual uint32_t ClipboardNotices() = 0;
    virtual void LeaveClipboardChain() = 0;

protected:
    virtual bool DoSetClipboardText(std::u16string_view text) = 0;
    virtual bool DoSetClipboardHtml(std::string_view htmlFormat, std::u16string_view text) = 0;
    virtual bool DoSetClipboardImage(const VBmp& picture) = 0;
};

}  // namespace ovrix
