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
