#include "platform/win32/Win32Databases.h"

#include "platform/win32/Wide.h"

namespace ovrix::win32 {

namespace {

template <class F>
bool Take(HMODULE library, const char* name, F& entry) {
    entry = reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(library, name)));
    return entry != nullptr;
}

}  // namespace

std::string Win32Databases::ToAnsi(std::u16string_view text, bool threadCodePage) {
    if (text.empty()) return {};
    const UINT codePage = threadCodePage ? CP_THREAD_ACP : CP_ACP;
    const std::wstring wide = ToWide(text);
    const int size = ::WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (size > 0) {
        ::WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), bytes.data(), size, nullptr,
                              nullptr);
    }
    return bytes;
}

std::u16string Win32Databases::FromAnsi(std::string_view text) {
    if (text.empty()) return {};
    const int size = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(size > 0 ? size : 0), L'\0');
    if (size > 0) ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
    return FromWide(std::wstring_view(wide));
}

const SqliteEntries* Win32Databases::DoLoadSqlite() {
    if (library_ == nullptr) {
        HMODULE library = ::LoadLibraryW(L"sqlite3.dll");
        if (library == nullptr) return nullptr;
        SqliteEntries entries;
        if (!Take(library, "sqlite3_open", entries.open) || !Take(library, "sqlite3_close", entries.close) ||
            !Take(library, "sqlite3_exec", entries.exec)) {
            ::FreeLibrary(library);
            return nullptr;
        }
        library_ = library;
        entries_ = entries;
    }
    return &entries_;
}

std::unique_ptr<DbConnection> Win32Databases::DoConnectAdo(std::u16string_view connectionString) {
    return OpenAdoConnection(connectionString);
}

}  // namespace ovrix::win32
