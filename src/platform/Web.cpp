#include "platform/Web.h"

#include "platform/Trace.h"

namespace ovrix {

std::unique_ptr<WebTransfer> Web::Get(std::u16string_view url, uint32_t timeoutMs) {
    TraceEvent("web", "get " + JsonString(url));
    return DoGet(url, timeoutMs);
}

std::unique_ptr<WebTransfer> Web::Download(std::u16string_view url, std::u16string_view file) {
    TraceEvent("web", "download " + JsonString(url) + " " + JsonString(file));
    return DoDownload(url, file);
}

}  // namespace ovrix
