// The clipboard's "HTML Format" on the real desktop: a registered format
// whose data is the UTF-8 text ClipboardHtml.h describes, ended by a zero.
#include <cstring>

#include "platform/win32/Handles.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/WinApi.h"

namespace ovrix::win32 {

namespace {

// Another program may hold the clipboard for a moment.
constexpr int kClipboardTries = 10;
constexpr DWORD kClipboardPauseMs = 20;

UINT HtmlFormat() {
    static const UINT format = ::RegisterClipboardFormatW(L"HTML Format");
    return format;
}

// A movable block holding the bytes and a zero after them, for the clipboard.
UniqueGlobalMemory BlockOf(const void* bytes, size_t size, size_t zeroBytes) {
    UniqueGlobalMemory memory(::GlobalAlloc(GMEM_MOVEABLE, size + zeroBytes));
    if (!memory) return memory;
    void* target = ::GlobalLock(memory.Get());
    if (target == nullptr) return UniqueGlobalMemory();
    std::memcpy(target, bytes, size);
    std::memset(static_cast<char*>(target) + size, 0, zeroBytes);
    ::GlobalUnlock(memory.Get());
    return memory;
}

}  // namespace

std::string Win32Platform::GetClipboardHtml() {
    ClipboardSession clipboard(nullptr, kClipboardTries, kClipboardPauseMs);
    if (!clipboard.IsOpen() || HtmlFormat() == 0) return {};
    const HANDLE data = ::GetClipboardData(HtmlFormat());
    if (data == nullptr) return {};
    const auto* bytes = static_cast<const char*>(::GlobalLock(data));
    if (bytes == nullptr) return {};
    // Some programs leave out the terminating zero: read no further than the block.
    std::string html(bytes, ::strnlen(bytes, ::GlobalSize(data)));
    ::GlobalUnlock(data);
    return html;
}

bool Win32Platform::DoSetClipboardHtml(std::string_view htmlFormat, std::u16string_view text) {
    if (HtmlFormat() == 0) return false;
    UniqueGlobalMemory html = BlockOf(htmlFormat.data(), htmlFormat.size(), 1);
    UniqueGlobalMemory plain = BlockOf(text.data(), text.size() * sizeof(char16_t), sizeof(char16_t));
    if (!html || !plain) return false;

    ClipboardSession clipboard(nullptr, kClipboardTries, kClipboardPauseMs);
    if (!clipboard.IsOpen() || !::EmptyClipboard()) return false;
    if (::SetClipboardData(HtmlFormat(), html.Get()) == nullptr) return false;
    html.Release();  // the clipboard owns it now
    if (::SetClipboardData(CF_UNICODETEXT, plain.Get()) == nullptr) return false;
    plain.Release();
    return true;
}

}  // namespace ovrix::win32
