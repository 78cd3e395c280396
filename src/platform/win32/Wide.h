// The player's texts are UTF-16 in char16_t strings; the Windows API takes
// the same code units as wchar_t (16 bits wide on Windows). These helpers
// move texts across that line and add the terminating zero the API needs.
#pragma once

#include <string>
#include <string_view>

namespace ovrix::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide characters are UTF-16 code units");

inline std::wstring ToWide(std::u16string_view text) {
    return std::wstring(reinterpret_cast<const wchar_t*>(text.data()), text.size());
}

inline std::u16string FromWide(std::wstring_view text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text.data()), text.size());
}

inline std::u16string FromWide(const wchar_t* text) {
    return text == nullptr ? std::u16string() : FromWide(std::wstring_view(text));
}

}  // namespace ovrix::win32
