#include "platform/Databases.h"

#include "platform/SqliteConnection.h"
#include "platform/Trace.h"

namespace ovrix {

SqliteConnectResult Databases::ConnectSqlite(std::u16string_view file, CodePage& codePage) {
    if (Tracing()) TraceEvent("db", "connect " + JsonString(file));
    const SqliteEntries* entries = DoLoadSqlite();
    if (entries == nullptr) return {nullptr, true};
    return {OpenSqlite(*entries, codePage, file), false};
}

std::unique_ptr<DbConnection> Databases::ConnectAdo(std::u16string_view connectionString) {
    if (Tracing()) TraceEvent("db", "connect " + JsonString(connectionString));
    return DoConnectAdo(connectionString);
}

std::unique_ptr<DbRecordSet> Databases::Execute(DbConnection& connection, std::u16string_view sql) {
    if (Tracing()) TraceEvent("db", "exec " + JsonString(sql));
    return connection.Execute(sql);
}

}  // namespace ovrix
