// The simulated desktop's web: the pages a desktop description lists, by the
// address as the script asks for it ("http://example.com/"). Any other
// address fails at once, as an unreachable one would. A transfer takes
// kTransferMs of virtual time, its share growing evenly, so that what a
// script shows while it waits can be seen; a downloaded file then exists on
// the simulated disk.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "platform/Web.h"

namespace ovrix {

class SimWeb : public Web {
public:
    static constexpr uint64_t kTransferMs = 200;

    SimWeb(std::function<uint64_t()> nowMs, std::function<void(std::u16string_view, std::string_view)> fileWritten)
        : nowMs_(std::move(nowMs)), fileWritten_(std::move(fileWritten)) {}

    std::map<std::u16string, std::string, std::less<>> pages;

protected:
    std::unique_ptr<WebTransfer> DoGet(std::u16string_view url, uint32_t timeoutMs) override;
    std::unique_ptr<WebTransfer> DoDownload(std::u16string_view url, std::u16string_view file) override;

private:
    std::unique_ptr<WebTransfer> Start(std::u16string_view url, std::u16string_view file);

    std::function<uint64_t()> nowMs_;
    std::function<void(std::u16string_view, std::string_view)> fileWritten_;
};

}  // namespace ovrix
