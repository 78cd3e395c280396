// The database family: connecting to a database, running a statement and
// walking the record set. The database connections are not built yet, so
// the rows are registered with no implementation: a call shows and saves
// as usual and evaluates to no value.
#include "builtins/FamilyTable.h"

namespace ovrix {

namespace {

const ArgSpec kRecordSet{u"RecordSet", fkind::kObject, {}, 0, u"DBRecordset RecordSet"};

const FunctionSpec kDatabase[] = {
    {u"Database_Connect", fkind::kObject, nullptr,
     {{u"ConnectionString", fkind::kText,
       DefText(u"Provider=SQLOLEDB;Server=(local);Database=master;UID=sa;PWD=")}},
     u"DBConn"},
    {u"Database_ConnectSQL", fkind::kObject, nullptr,
     {{u"Server", fkind::kText, DefText(u"(local)")},
      {u"Database", fkind::kText},
      {u"Username", fkind::kText},
      {u"Password", fkind::kText}},
     u"DBConn"},
    {u"Database_ConnectSQLite", fkind::kObject, nullptr, {{u"SQLiteDBFile", fkind::kText}}, u"DBConn"},
    {u"Database_Execute", fkind::kObject, nullptr,
     {{u"Connection", fkind::kObject, {}, 0, u"DBConn Connection"}, {u"SQLStatement", fkind::kText}},
     u"DBRecordset"},
    {u"Database_RecordSetEOF", fkind::kNumber, nullptr, {kRecordSet}},
    {u"Database_RecordSetGetFieldCount", fkind::kNumber, nullptr, {kRecordSet}},
    {u"Database_RecordSetMoveNext", fkind::kNothing, nullptr, {kRecordSet}},
    {u"Database_GetField", fkind::kText, nullptr, {kRecordSet, {u"FiledNameOrIndex", fkind::kNumber}}},
};

}  // namespace

std::span<const FunctionSpec> DatabaseFunctions() { return kDatabase; }

}  // namespace ovrix
