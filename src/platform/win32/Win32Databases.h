// Databases on the real desktop: sqlite3.dll loaded by name with
// LoadLibraryW on the first connection that finds it and kept for the life
// of the process, its entries taken with GetProcAddress; ADO through the
// "ADODB.Connection" automation object (Win32Ado.cpp). Texts cross to
// SQLite in the ANSI code pages: the thread's for the file name, the
// system's for statements and values.
#pragma once

#include "platform/Databases.h"
#include "platform/win32/WinApi.h"

namespace ovrix::win32 {

class Win32Databases final : public Databases {
public:

protected:
    const SqliteEntries* DoLoadSqlite() override;
    std::unique_ptr<DbConnection> DoConnectAdo(std::u16string_view connectionString) override;

private:
    HMODULE library_ = nullptr;
    SqliteEntries entries_;
};

// An open ADO connection, or null when the object cannot be created or
// refuses to open (Win32Ado.cpp).
std::unique_ptr<DbConnection> OpenAdoConnection(std::u16string_view connectionString);

}  // namespace ovrix::win32
