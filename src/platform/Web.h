// The web: a page fetched into memory, or a file downloaded, each as a
// transfer that runs while the caller waits in its own way (the playback
// waits in slices so that stop and the script's windows stay alive). Ending
// a transfer early is destroying it: the destructor cancels what is under
// way and returns once nothing runs any more. Traced as
//   web get "<url>"
//   web download "<url>" "<file>"
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/Facet.h"

namespace ovrix {

class WebTransfer {
public:
    virtual ~WebTransfer() = default;

    virtual bool Finished() = 0;
    // The share received so far, 0 to 100; 0 while the size is unknown.
    virtual int32_t Percent() = 0;
    // Once finished: whether the whole body arrived (and, for a download,
    // reached the file).
    virtual bool Succeeded() = 0;
    // Once finished: the body of a fetched page, as its bytes.
    virtual std::string TakeBody() = 0;
};

class Web : public TracedFacet {
public:
    // Traced. Gives up when nothing arrives for timeoutMs.
    std::unique_ptr<WebTransfer> Get(std::u16string_view url, uint32_t timeoutMs);
    // Traced. A download that fails leaves no file behind.
    std::unique_ptr<WebTransfer> Download(std::u16string_view url, std::u16string_view file);

protected:
    virtual std::unique_ptr<WebTransfer> DoGet(std::u16string_view url, uint32_t timeoutMs) = 0;
    virtual std::unique_ptr<WebTransfer> DoDownload(std::u16string_view url, std::u16string_view file) = 0;
};

}  // namespace ovrix
