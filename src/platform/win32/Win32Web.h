// The real web, through WinINet. Each transfer runs on a thread of its own
// (the playback thread only looks at its progress), gives up when the
// connection or a read stalls for the timeout, and is cancelled by closing
// its handles, which makes a blocked call on that thread return at once.
#pragma once

#include "platform/Web.h"

namespace ovrix::win32 {

class Win32Web final : public Web {
protected:
    std::unique_ptr<WebTransfer> DoGet(std::u16string_view url, uint32_t timeoutMs) override;
    std::unique_ptr<WebTransfer> DoDownload(std::u16string_view url, std::u16string_view file) override;
};

}  // namespace ovrix::win32
