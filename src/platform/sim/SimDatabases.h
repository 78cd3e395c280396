// Databases on the simulated desktop. SQLite is real: the machine's own
// SQLite library, loaded by name at run time as the player loads
// sqlite3.dll, so database scripts can be dry-run against real files
// (Windows builds of the simulated desktop have none). The ANSI code page
// is Windows-1252 (a Western European system's); a unit it cannot hold
// becomes '?'. No ADO provider is installed: every ADO connection fails.
#pragma once

#include <string>

#include "platform/Databases.h"

namespace ovrix {

class SimDatabases final : public Databases {
public:
    // The library's name; a test names one that does not exist to play a
    // machine without SQLite.
    std::string libraryName = "libsqlite3.so.0";


protected:
    const SqliteEntries* DoLoadSqlite() override;
    std::unique_ptr<DbConnection> DoConnectAdo(std::u16string_view) override { return nullptr; }

private:
    // Kept loaded for the life of the process, as the real desktop keeps
    // its library.
    void* library_ = nullptr;
    SqliteEntries entries_;
};

}  // namespace ovrix
