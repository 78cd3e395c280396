#include "platform/win32/Win32Web.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <string>
#include <thread>

#include "platform/win32/Handles.h"
#include "platform/win32/WinApi.h"
#include "platform/win32/Wide.h"

#include <wininet.h>

namespace ovrix::win32 {

namespace {

// How long a download may stall before it gives up (it takes no timeout).
constexpr uint32_t kDownloadStallMs = 30000;
constexpr DWORD kChunkBytes = 16384;
constexpr wchar_t kAgent[] = L"Ovrix";

class Win32Transfer final : public WebTransfer {
public:
    Win32Transfer(std::u16string_view url, std::u16string_view file, uint32_t timeoutMs)
        : url_(ToWide(url)), file_(ToWide(file)), timeoutMs_(timeoutMs) {
        thread_ = std::thread([this] { Run(); });
    }
    ~Win32Transfer() override {
        cancel_ = true;
        CloseHandles();
        thread_.join();
    }
    Win32Transfer(const Win32Transfer&) = delete;
    Win32Transfer& operator=(const Win32Transfer&) = delete;

    bool Finished() override { return finished_; }
    int32_t Percent() override {
        const uint64_t total = total_;
        return total == 0 ? 0 : static_cast<int32_t>(std::min<uint64_t>(100, received_ * 100 / total));
    }
    bool Succeeded() override { return finished_ && succeeded_; }
    std::string TakeBody() override { return Succeeded() ? std::move(body_) : std::string(); }

private:
    void Run() {
        const bool ok = Transfer();
        CloseHandles();
        if (!ok && !file_.empty()) ::DeleteFileW(file_.c_str());
        succeeded_ = ok;
        finished_ = true;
    }

    // Keeps a handle where the destructor can close it; false (and the
    // handle closed) when the transfer is already cancelled.
    bool Keep(HINTERNET handle, HINTERNET& slot) {
        std::lock_guard lock(handleMutex_);
        if (cancel_) {
            ::InternetCloseHandle(handle);
            return false;
        }
        slot = handle;
        return true;
    }

    void CloseHandles() {
        std::lock_guard lock(handleMutex_);
        for (HINTERNET* handle : {&request_, &session_}) {
            if (*handle != nullptr) ::InternetCloseHandle(*handle);
            *handle = nullptr;
        }
    }

    bool Transfer() {
        HINTERNET session = ::InternetOpenW(kAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
        if (session == nullptr || !Keep(session, session_)) return false;
        DWORD timeout = timeoutMs_;
        for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                             INTERNET_OPTION_RECEIVE_TIMEOUT}) {
            ::InternetSetOptionW(session, option, &timeout, sizeof timeout);
        }
        const DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_UI |
                            INTERNET_FLAG_NO_COOKIES;
        HINTERNET request = ::InternetOpenUrlW(session, url_.c_str(), nullptr, 0, flags, 0);
        if (request == nullptr || !Keep(request, request_)) return false;

        // Addresses of other schemes have no status; an HTTP error page is
        // no page.
        DWORD number = 0;
        DWORD size = sizeof number;
        if (::HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &number, &size, nullptr) &&
            number >= 400) {
            return false;
        }
        size = sizeof number;
        if (::HttpQueryInfoW(request, HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &number, &size, nullptr)) {
            total_ = number;
        }

        UniqueHandle file;
        if (!file_.empty()) {
            const HANDLE created = ::CreateFileW(file_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                                 FILE_ATTRIBUTE_NORMAL, nullptr);
            if (created == INVALID_HANDLE_VALUE) return false;
            file.Reset(created);
        }
        char chunk[kChunkBytes];
        for (;;) {
            DWORD got = 0;
            if (cancel_ || !::InternetReadFile(request, chunk, kChunkBytes, &got)) return false;
            if (got == 0) return true;
            if (file) {
                DWORD written = 0;
                if (!::WriteFile(file.Get(), chunk, got, &written, nullptr) || written != got) return false;
            } else {
                body_.append(chunk, got);
            }
            received_ += got;
        }
    }

    const std::wstring url_;
    const std::wstring file_;  // empty: the body is kept in memory
    const uint32_t timeoutMs_;
    std::atomic<bool> cancel_{false};
    std::atomic<bool> finished_{false};
    std::atomic<bool> succeeded_{false};
    std::atomic<uint64_t> received_{0};
    std::atomic<uint64_t> total_{0};
    std::mutex handleMutex_;
    HINTERNET session_ = nullptr;
    HINTERNET request_ = nullptr;
    std::string body_;
    std::thread thread_;  // last: it starts once everything above is made
};

}  // namespace

std::unique_ptr<WebTransfer> Win32Web::DoGet(std::u16string_view url, uint32_t timeoutMs) {
    return std::make_unique<Win32Transfer>(url, std::u16string_view(), timeoutMs);
}

std::unique_ptr<WebTransfer> Win32Web::DoDownload(std::u16string_view url, std::u16string_view file) {
    return std::make_unique<Win32Transfer>(url, file, kDownloadStallMs);
}

}  // namespace ovrix::win32
