// The database functions on the simulated desktop: ADO connections fail as
// on a machine without a provider, and SQLite runs on the machine's own
// library, so record sets are walked for real.
#include <gtest/gtest.h>

#include <filesystem>

#include "builtins_test_support.h"
#include "container/Text.h"
#include "platform/Trace.h"

namespace ovrix {
namespace {

using namespace testing_builtins;
using Lines = std::vector<std::string>;
using Texts = std::vector<std::u16string>;

struct DatabaseFunctions : ::testing::Test {
    // The database trace lines, without their time field.
    Lines Database() const { return EventsOf(host.trace, "db "); }
    // A connection to a fresh in-memory database; the test stops (skipped
    // where the simulated desktop has no SQLite library) without one.
    PExprItem Memory() {
        PExprItem connection = CallBare(u"Database_ConnectSQLite", {Text(u":memory:")});
        if (!connection && host.sim.boxes.empty()) ADD_FAILURE() << "the SQLite library is there but refused";
        return connection;
    }
    PExprItem Execute(const PExprItem& connection, std::u16string sql) {
        return CallBare(u"Database_Execute", {connection, Text(std::move(sql))});
    }
    PExprItem Field(const PExprItem& records, PExprItem column) {
        return CallBare(u"Database_GetField", {records, std::move(column)});
    }
    double Number(std::u16string_view key, const PExprItem& records) {
        return AsNumber(CallBare(key, {records}));
    }
    FakeBuiltinHost host;
};

// Only the 64-bit Linux builds have a machine library to load.
#define REQUIRE_SQLITE(connection)                                                   \
    if (!(connection)) {                                                            \
        if (kMachineHasSqlite) FAIL() << "no SQLite library on this machine";       \
        GTEST_SKIP() << "the simulated desktop has no SQLite library in this build"; \
    }
#if defined(__linux__) && defined(__x86_64__)
constexpr bool kMachineHasSqlite = true;
#else
constexpr bool kMachineHasSqlite = false;
#endif

TEST_F(DatabaseFunctions, SqlServerConnectionStringsAndTheFailedAdoConnection) {
    struct Case {
        std::u16string server, database, user, password;
        std::string connected;  // empty: no connection is tried
    };
    const Case cases[] = {
        {u"db1", u"shop", u"", u"x",
         "\"Provider=SQLOLEDB;Integrated Security=SSPI;Persist Security Info=False;Database=shop\""},
        {u"db1", u"", u"", u"", "\"Provider=SQLOLEDB;Integrated Security=SSPI;Persist Security Info=False\""},
        {u"db1", u"shop", u"sa", u"pw", "\"Provider=SQLOLEDB;Server=db1;Database=shop;UID=sa;PWD=pw\""},
        {u"(local)", u"", u"ann", u"", "\"Provider=SQLOLEDB;Server=(local);UID=ann;PWD=\""},
        {u"", u"shop", u"sa", u"pw", ""},
    };
    for (const Case& c : cases) {
        host.trace.clear();
        host.statusLines.clear();
        const PExprItem connection = CallBare(
            u"Database_ConnectSQL", {Text(c.server), Text(c.database), Text(c.user), Text(c.password)});
        EXPECT_FALSE(connection);
        if (c.connected.empty()) {
            EXPECT_TRUE(Database().empty());
            EXPECT_TRUE(host.statusLines.empty());
        } else {
            EXPECT_EQ(Database(), Lines{"db connect " + c.connected});
            EXPECT_EQ(host.statusLines, (Texts{u"Connecting to the database...", u"Connection failed!"}));
        }
    }
    // The loaded call takes the default connection string.
    host.trace.clear();
    EXPECT_FALSE(Call(u"Database_Connect", {}));
    EXPECT_EQ(Database(),
              Lines{"db connect \"Provider=SQLOLEDB;Server=(local);Database=master;UID=sa;PWD=\""});
    // Three arguments are not enough.
    EXPECT_FALSE(CallBare(u"Database_ConnectSQL", {Text(u"db1"), Text(u"shop"), Text(u"sa")}));
}

TEST_F(DatabaseFunctions, RecordSetWalkWithNullsNamesAndTheAnsiCodePage) {
    const PExprItem db = Memory();
    REQUIRE_SQLITE(db);
    EXPECT_EQ(host.statusLines, (Texts{u"Connecting to the database...", u"Connection is successful"}));
    EXPECT_EQ(db->GetTypeName(), u"DBConn");

    // Statements without rows give an empty record set.
    const PExprItem made = Execute(db,
                                   u"CREATE TABLE t(id INTEGER, name TEXT, note TEXT);"
                                   u"INSERT INTO t VALUES (1, 'Zo\u00eb', NULL), (2, '\u20ac5', 'x')");
    ASSERT_TRUE(made);
    EXPECT_EQ(Number(u"Database_RecordSetEOF", made), 1);
    EXPECT_EQ(Number(u"Database_RecordSetGetFieldCount", made), 0);

    const PExprItem rows = Execute(db, u"SELECT id, name, note AS remark FROM t ORDER BY id");
    ASSERT_TRUE(rows);
    EXPECT_EQ(rows->GetTypeName(), u"DBRecordset");
    EXPECT_EQ(Number(u"Database_RecordSetGetFieldCount", rows), 3);
    std::vector<Texts> seen;
    while (Number(u"Database_RecordSetEOF", rows) == 0 && seen.size() < 5) {
        seen.push_back({AsText(Field(rows, Num(0))), AsText(Field(rows, Num(1))), AsText(Field(rows, Num(2))),
                        AsText(Field(rows, Text(u"remark"))), AsText(Field(rows, Text(u"name")))});
        for (double outside : {3.0, -1.0, 4294967296.0}) EXPECT_FALSE(Field(rows, Num(outside))) << outside;
        EXPECT_FALSE(Field(rows, Text(u"note")));  // renamed by the statement
        CallBare(u"Database_RecordSetMoveNext", {rows});
    }
    // Non-Latin-1 text survives through Windows-1252 (the euro sign is 0x80).
    EXPECT_EQ(seen, (std::vector<Texts>{{u"1", u"Zo\u00eb", u"", u"", u"Zo\u00eb"},
                                        {u"2", u"\u20ac5", u"x", u"x", u"\u20ac5"}}));
    // Past the end the row stays past the end and reads nothing.
    CallBare(u"Database_RecordSetMoveNext", {rows});
    EXPECT_EQ(Number(u"Database_RecordSetEOF", rows), 1);
    EXPECT_FALSE(Field(rows, Num(0)));

    // Rows of a later statement of another shape are left out.
    const PExprItem mixed = Execute(db, u"SELECT 7 AS a; SELECT 8, 9; SELECT 10");
    ASSERT_TRUE(mixed);
    EXPECT_EQ(Number(u"Database_RecordSetGetFieldCount", mixed), 1);
    EXPECT_EQ(AsText(Field(mixed, Text(u"a"))), u"7");
    CallBare(u"Database_RecordSetMoveNext", {mixed});
    EXPECT_EQ(AsText(Field(mixed, Num(0))), u"10");

    // A statement the database refuses gives no value, and is traced as tried.
    EXPECT_FALSE(Execute(db, u"SELEKT 1"));
    EXPECT_EQ(Database().back(), "db exec \"SELEKT 1\"");
    // Record-set functions on anything else give no value.
    EXPECT_FALSE(CallBare(u"Database_RecordSetEOF", {db}));
    EXPECT_FALSE(Execute(rows, u"SELECT 1"));
}

TEST_F(DatabaseFunctions, AFileKeepsItsRowsAfterItsConnectionDies) {
    const std::filesystem::path file = std::filesystem::temp_directory_path() / "ovrix-database-test.sqlite";
    std::filesystem::remove(file);
    const std::u16string name = FromUtf8(file.string());
    {
        const PExprItem db = CallBare(u"Database_ConnectSQLite", {Text(name)});
        REQUIRE_SQLITE(db);
        ASSERT_TRUE(Execute(db, u"CREATE TABLE k(v); INSERT INTO k VALUES ('kept')"));
    }
    const PExprItem again = CallBare(u"Database_ConnectSQLite", {Text(name)});
    ASSERT_TRUE(again);
    EXPECT_EQ(AsText(Field(Execute(again, u"SELECT v FROM k"), Num(0))), u"kept");
    EXPECT_EQ(Database().front(), "db connect " + JsonString(name));
    std::filesystem::remove(file);
}

TEST_F(DatabaseFunctions, AMissingLibraryIsToldAtEveryAttempt) {
    host.sim.databases.libraryName = "libovrix-no-such-sqlite.so";
    for (int attempt = 0; attempt < 2; ++attempt) {
        EXPECT_FALSE(CallBare(u"Database_ConnectSQLite", {Text(u":memory:")}));
    }
    ASSERT_EQ(host.sim.boxes.size(), 2u);
    EXPECT_EQ(host.sim.boxes[1].text, u"Can not load the library \"sqlite3.dll\"!");
    EXPECT_EQ(host.statusLines, (Texts{u"Connecting to the database...", u"Connection failed!",
                                       u"Connecting to the database...", u"Connection failed!"}));
}

}  // namespace
}  // namespace ovrix
