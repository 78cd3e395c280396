#include "platform/win32/Win32Registry.h"

#include "platform/win32/WinApi.h"
#include "platform/win32/Wide.h"

namespace ovrix::win32 {

namespace {

// The predefined root handles are 32-bit numbers that the system widens
// with their sign (HKEY_CURRENT_USER is 0xFFFFFFFF80000001 in 64-bit
// processes), as the headers' own definitions do.
HKEY RootOf(const RegistryKey& key) {
    return reinterpret_cast<HKEY>(static_cast<intptr_t>(static_cast<int32_t>(key.root)));
}

class OpenKey {
public:
    OpenKey(const RegistryKey& key, REGSAM access) {
        const std::wstring path = ToWide(key.path);
        if (::RegOpenKeyExW(RootOf(key), path.c_str(), 0, access, &key_) != ERROR_SUCCESS) key_ = nullptr;
    }
    ~OpenKey() {
        if (key_ != nullptr) ::RegCloseKey(key_);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;

    explicit operator bool() const { return key_ != nullptr; }
    HKEY Get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

}  // namespace

std::optional<RegistryValue> Win32Registry::ReadValue(const RegistryKey& key, std::u16string_view name) {
    OpenKey open(key, KEY_QUERY_VALUE);
    if (!open) return std::nullopt;
    const std::wstring valueName = ToWide(name);
    RegistryValue value;
    DWORD type = 0;
    DWORD size = 0;
    // The value may grow between asking its size and reading it: ask again.
    for (int tries = 0; tries < 3; ++tries) {
        if (::RegQueryValueExW(open.Get(), valueName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
            return std::nullopt;
        }
        value.bytes.resize(size);
        const LONG status = ::RegQueryValueExW(open.Get(), valueName.c_str(), nullptr, &type,
                                               value.bytes.empty() ? nullptr : value.bytes.data(), &size);
        if (status == ERROR_MORE_DATA) continue;
        if (status != ERROR_SUCCESS) return std::nullopt;
        value.bytes.resize(size);
        value.type = type;
        return value;
    }
    return std::nullopt;
}

bool Win32Registry::DoWriteValue(const RegistryKey& key, std::u16string_view name, const RegistryValue& value) {
    OpenKey open(key, KEY_SET_VALUE);
    if (!open) return false;
    const std::wstring valueName = ToWide(name);
    return ::RegSetValueExW(open.Get(), valueName.c_str(), 0, value.type, value.bytes.data(),
                            static_cast<DWORD>(value.bytes.size())) == ERROR_SUCCESS;
}

bool Win32Registry::DoDeleteValue(const RegistryKey& key, std::u16string_view name) {
    OpenKey open(key, KEY_SET_VALUE);
    if (!open) return false;
    const std::wstring valueName = ToWide(name);
    return ::RegDeleteValueW(open.Get(), valueName.c_str()) == ERROR_SUCCESS;
}

bool Win32Registry::DoCreateKey(const RegistryKey& key) {
    const std::wstring path = ToWide(key.path);
    HKEY created = nullptr;
    if (::RegCreateKeyExW(RootOf(key), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ, nullptr, &created,
                          nullptr) != ERROR_SUCCESS) {
        return false;
    }
    ::RegCloseKey(created);
    return true;
}

bool Win32Registry::DoDeleteKey(const RegistryKey& key) {
    const std::wstring path = ToWide(key.path);
    return ::RegDeleteKeyW(RootOf(key), path.c_str()) == ERROR_SUCCESS;
}

}  // namespace ovrix::win32
