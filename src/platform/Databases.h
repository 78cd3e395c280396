// Database connections: SQLite files through the SQLite library, which the
// desktop loads by name at run time, and ADO connections through the
// "ADODB.Connection" automation object. A statement's result is a record
// set walked row by row; a value reads as text, NULL as the empty text.
//
// Connecting and running statements are traced:
//   db connect "<file or connection string>"
//   db exec "<sql>"
//
// The SQLite path is the same on every desktop: the desktop hands over the
// library's three entries and its ANSI code page, and SqliteConnection.cpp
// does the rest, so the simulated desktop runs the player's own record-set
// code on a real SQLite.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/CodePage.h"
#include "platform/Facet.h"

namespace ovrix {

// A record set: a current row over the result's rows, and its columns.
// Column numbers count from 0, as ADO's Fields collection counts.
class DbRecordSet {
public:
    virtual ~DbRecordSet() = default;
    // True when the current row is past the last one.
    virtual bool AtEnd() = 0;
    virtual int32_t FieldCount() = 0;
    virtual void MoveNext() = 0;
    // The current row's value of a column; nullopt past the end or for a
    // column that does not exist.
    virtual std::optional<std::u16string> FieldByIndex(int32_t index) = 0;
    virtual std::optional<std::u16string> FieldByName(std::u16string_view name) = 0;
};

class DbConnection {
public:
    virtual ~DbConnection() = default;
    // The statement's record set (empty for a statement that returns no
    // rows); null when the statement fails.
    virtual std::unique_ptr<DbRecordSet> Execute(std::u16string_view sql) = 0;
};

// The three entries of the SQLite library the player uses, with the
// library's own C signatures (sqlite3* and the row callback as void*).
struct SqliteEntries {
    using RowCallback = int (*)(void* context, int columns, char** values, char** names);
    int (*open)(const char* file, void** db) = nullptr;
    int (*close)(void* db) = nullptr;
    int (*exec)(void* db, const char* sql, RowCallback callback, void* context, char** error) = nullptr;
};

struct SqliteConnectResult {
    std::unique_ptr<DbConnection> connection;  // null: the connection failed
    bool libraryMissing = false;               // the library could not be loaded
};

class Databases : public TracedFacet {
public:
    // Loads the library if needed and opens the file; names, statements and
    // values pass through the desktop's code page.
    SqliteConnectResult ConnectSqlite(std::u16string_view file, CodePage& codePage);
    // Creates an ADO connection and opens it; null on any failure.
    std::unique_ptr<DbConnection> ConnectAdo(std::u16string_view connectionString);
    std::unique_ptr<DbRecordSet> Execute(DbConnection& connection, std::u16string_view sql);

protected:
    // The library's entries, loading it on the first call that finds it;
    // null while it cannot be loaded (each call tries again).
    virtual const SqliteEntries* DoLoadSqlite() = 0;
    virtual std::unique_ptr<DbConnection> DoConnectAdo(std::u16string_view connectionString) = 0;
};

}  // namespace ovrix
