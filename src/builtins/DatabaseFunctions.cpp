// The database family: connecting to an SQLite file or to an ADO data
// source, running a statement and walking its record set. Connections and
// record sets are object values ("DBConn", "DBRecordset") that own what
// the desktop handed out: a connection closes when its last value dies.
//
// Connecting tells the person on the status line how it went; every other
// failure (a statement the database refuses, a column that does not exist)
// gives no value. Database_GetField takes a column by number, counted from
// 0 as ADO's Fields collection counts, or by name when given a Text.
#include <memory>

#include "builtins/BuiltinHost.h"
#include "builtins/FamilyTable.h"
#include "expr/KindsObject.h"
#include "platform/Desktop.h"
#include "platform/Dialogs.h"

namespace ovrix {

namespace {

using namespace fnargs;

constexpr std::u16string_view kConnecting = u"Connecting to the database...";
constexpr std::u16string_view kConnected = u"Connection is successful";
constexpr std::u16string_view kConnectFailed = u"Connection failed!";
constexpr std::u16string_view kNoLibrary = u"Can not load the library \"sqlite3.dll\"!";

class DbConnItem final : public ObjectItem {
public:
    explicit DbConnItem(std::unique_ptr<DbConnection> c) : ObjectItem(kind::kHandle, u"DBConn"), connection(std::move(c)) {}
    std::unique_ptr<DbConnection> connection;
};

class DbRecordSetItem final : public ObjectItem {
public:
    explicit DbRecordSetItem(std::unique_ptr<DbRecordSet> r)
        : ObjectItem(kind::kHandle, u"DBRecordset"), records(std::move(r)) {}
    std::unique_ptr<DbRecordSet> records;
};

DbRecordSet* RecordSetArg(const PExprItem* args, int32_t count) {
    const auto* item = count > 0 ? ItemAs<DbRecordSetItem>(args[0]) : nullptr;
    return item != nullptr ? item->records.get() : nullptr;
}

// Shows how the connection went and makes its value.
PExprItem* Connected(PExprItem* result, BuiltinHost& host, std::unique_ptr<DbConnection> connection) {
    if (connection == nullptr) {
        host.SetStatusLine(kConnectFailed);
        return None(result);
    }
    host.SetStatusLine(kConnected);
    return ReturnValue(result, MakeItem<DbConnItem>(std::move(connection)));
}

PExprItem* ConnectAdo(PExprItem* result, const std::u16string& connectionString) {
    BuiltinHost* host = GetBuiltinHost();
    if (host == nullptr) return None(result);
    host->SetStatusLine(kConnecting);
    return Connected(result, *host, host->GetDesktop().databases.ConnectAdo(connectionString));
}

PExprItem* Connect(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    return ConnectAdo(result, Text(args, count, 0));
}

// With no user name the server's own Windows login is used, and the server
// is left out of the string.
std::u16string SqlServerConnectionString(const std::u16string& server, const std::u16string& database,
                                         const std::u16string& user, const std::u16string& password) {
    std::u16string text;
    if (user.empty()) {
        text = u"Provider=SQLOLEDB;Integrated Security=SSPI;Persist Security Info=False";
        if (!database.empty()) text += u";Database=" + database;
        return text;
    }
    text = u"Provider=SQLOLEDB;Server=" + server;
    if (!database.empty()) text += u";Database=" + database;
    return text + u";UID=" + user + u";PWD=" + password;
}

PExprItem* ConnectSql(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    const std::u16string server = Text(args, count, 0);
    if (count < 4 || server.empty()) return None(result);
    return ConnectAdo(result, SqlServerConnectionString(server, Text(args, count, 1), Text(args, count, 2),
                                                        Text(args, count, 3)));
}

PExprItem* ConnectSqlite(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    BuiltinHost* host = GetBuiltinHost();
    if (host == nullptr) return None(result);
    host->SetStatusLine(kConnecting);
    Desktop& desktop = host->GetDesktop();
    SqliteConnectResult connected = desktop.databases.ConnectSqlite(Text(args, count, 0), desktop.codePage);
    if (connected.libraryMissing) desktop.dialogs.ShowMessage(kNoLibrary);
    return Connected(result, *host, std::move(connected.connection));
}

PExprItem* Execute(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    BuiltinHost* host = GetBuiltinHost();
    const auto* connection = count > 0 ? ItemAs<DbConnItem>(args[0]) : nullptr;
    if (host == nullptr || connection == nullptr) return None(result);
    std::unique_ptr<DbRecordSet> records =
        host->GetDesktop().databases.Execute(*connection->connection, Text(args, count, 1));
    if (records == nullptr) return None(result);
    return ReturnValue(result, MakeItem<DbRecordSetItem>(std::move(records)));
}

PExprItem* AtEnd(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    DbRecordSet* records = RecordSetArg(args, count);
    return records == nullptr ? None(result) : ReturnNumber(result, records->AtEnd() ? 1 : 0);
}

PExprItem* FieldCount(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    DbRecordSet* records = RecordSetArg(args, count);
    return records == nullptr ? None(result) : ReturnNumber(result, records->FieldCount());
}

PExprItem* MoveNext(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    if (DbRecordSet* records = RecordSetArg(args, count)) records->MoveNext();
    return None(result);
}

PExprItem* GetField(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    DbRecordSet* records = RecordSetArg(args, count);
    if (records == nullptr || count < 2) return None(result);
    if (args[1] && args[1]->Kind() == kind::kText) {
        const std::optional<std::u16string> value = records->FieldByName(Text(args, count, 1));
        return value ? ReturnText(result, *value) : None(result);
    }
    const int64_t index = AsInteger(args[1]);
    if (index < 0 || index >= records->FieldCount()) return None(result);
    const std::optional<std::u16string> value = records->FieldByIndex(static_cast<int32_t>(index));
    return value ? ReturnText(result, *value) : None(result);
}

const ArgSpec kRecordSet{u"RecordSet", fkind::kObject, {}, 0, u"DBRecordset RecordSet"};

const FunctionSpec kDatabase[] = {
    {u"Database_Connect", fkind::kObject, Connect,
     {{u"ConnectionString", fkind::kText,
       DefText(u"Provider=SQLOLEDB;Server=(local);Database=master;UID=sa;PWD=")}},
     u"DBConn"},
    {u"Database_ConnectSQL", fkind::kObject, ConnectSql,
     {{u"Server", fkind::kText, DefText(u"(local)")},
      {u"Database", fkind::kText},
      {u"Username", fkind::kText},
      {u"Password", fkind::kText}},
     u"DBConn"},
    {u"Database_ConnectSQLite", fkind::kObject, ConnectSqlite, {{u"SQLiteDBFile", fkind::kText}}, u"DBConn"},
    {u"Database_Execute", fkind::kObject, Execute,
     {{u"Connection", fkind::kObject, {}, 0, u"DBConn Connection"}, {u"SQLStatement", fkind::kText}},
     u"DBRecordset"},
    {u"Database_RecordSetEOF", fkind::kNumber, AtEnd, {kRecordSet}},
    {u"Database_RecordSetGetFieldCount", fkind::kNumber, FieldCount, {kRecordSet}},
    {u"Database_RecordSetMoveNext", fkind::kNothing, MoveNext, {kRecordSet}},
    {u"Database_GetField", fkind::kText, GetField, {kRecordSet, {u"FiledNameOrIndex", fkind::kNumber}}},
};

}  // namespace

std::span<const FunctionSpec> DatabaseFunctions() { return kDatabase; }

}  // namespace ovrix
