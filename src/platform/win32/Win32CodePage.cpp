#include "platform/win32/Win32CodePage.h"

#include <windows.h>

#include "platform/win32/Wide.h"

namespace ovrix::win32 {

std::u16string Win32CodePage::FromAnsi(std::string_view bytes) {
    if (bytes.empty()) return {};
    const int size = static_cast<int>(bytes.size());
    const int length = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, wide.data(), length);
    return FromWide(wide);
}

std::string Win32CodePage::ToAnsi(std::u16string_view text, bool threadCodePage) {
    if (text.empty()) return {};
    const UINT codePage = threadCodePage ? CP_THREAD_ACP : CP_ACP;
    const std::wstring wide = ToWide(text);
    const int size = static_cast<int>(wide.size());
    // A system whose ANSI code page is UTF-8 refuses a replacement character;
    // it has nothing to replace anyway.
    const char* replacement = "?";
    int length = ::WideCharToMultiByte(codePage, 0, wide.data(), size, nullptr, 0, replacement, nullptr);
    if (length <= 0) {
        replacement = nullptr;
        length = ::WideCharToMultiByte(codePage, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    }
    if (length <= 0) return {};
    std::string bytes(static_cast<size_t>(length), '\0');
    ::WideCharToMultiByte(codePage, 0, wide.data(), size, bytes.data(), length, replacement, nullptr);
    return bytes;
}

}  // namespace ovrix::win32
