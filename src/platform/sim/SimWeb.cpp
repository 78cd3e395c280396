#include "platform/sim/SimWeb.h"

#include <algorithm>
#include <optional>

namespace ovrix {

namespace {

class SimTransfer final : public WebTransfer {
public:
    SimTransfer(std::function<uint64_t()> nowMs, std::optional<std::string> body, std::u16string file,
                std::function<void(std::u16string_view, std::string_view)> fileWritten)
        : nowMs_(std::move(nowMs)),
          startMs_(nowMs_()),
          body_(std::move(body)),
          file_(std::move(file)),
          fileWritten_(std::move(fileWritten)) {}

    bool Finished() override {
        if (!body_) return true;
        if (nowMs_() - startMs_ < SimWeb::kTransferMs) return false;
        if (!file_.empty() && fileWritten_) {
            fileWritten_(file_, *body_);
            fileWritten_ = nullptr;
        }
        return true;
    }
    int32_t Percent() override {
        if (!body_) return 0;
        return static_cast<int32_t>(std::min<uint64_t>(100, (nowMs_() - startMs_) * 100 / SimWeb::kTransferMs));
    }
    bool Succeeded() override { return Finished() && body_.has_value(); }
    std::string TakeBody() override { return Succeeded() ? std::move(*body_) : std::string(); }

private:
    std::function<uint64_t()> nowMs_;
    uint64_t startMs_;
    std::optional<std::string> body_;  // none: the address does not answer
    std::u16string file_;
    std::function<void(std::u16string_view, std::string_view)> fileWritten_;
};

}  // namespace

std::unique_ptr<WebTransfer> SimWeb::Start(std::u16string_view url, std::u16string_view file) {
    const auto page = pages.find(url);
    std::optional<std::string> body;
    if (page != pages.end()) body = page->second;
    return std::make_unique<SimTransfer>(nowMs_, std::move(body), std::u16string(file), fileWritten_);
}

// Every listed page answers well within any timeout.
std::unique_ptr<WebTransfer> SimWeb::DoGet(std::u16string_view url, uint32_t) { return Start(url, {}); }

std::unique_ptr<WebTransfer> SimWeb::DoDownload(std::u16string_view url, std::u16string_view file) {
    return Start(url, file);
}

}  // namespace ovrix
