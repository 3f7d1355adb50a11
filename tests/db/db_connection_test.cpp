#include "db/db_connection.h"
#include "db/db_exception.h"
#include "db_error_of.h"
#include "odbc_call_log.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using Names = std::vector<std::string>;

class DbConnectionTest : public ::testing::Test {
protected:
    void SetUp() override { odbc_log::Clear(); }
    void TearDown() override {
        connection.Disconnect();
        EXPECT_TRUE(odbc_log::LiveHandles().empty()) << "an ODBC handle was left allocated";
    }

    void ConnectSqlite() { connection.Connect(test_env::SqliteDsn(), "", ""); }
    void ConnectPostgres() { connection.Connect(test_env::PgDsn(), test_env::PgUser(), test_env::PgPassword()); }

    // While connected, exactly the environment and connection handles are held.
    void ExpectOnlyConnectionHandles() { EXPECT_EQ(odbc_log::LiveHandles().size(), 2u); }

    CDbConnection connection;
};

TEST_F(DbConnectionTest, ConnectAllocatesAndDisconnectFreesInReverseOrder) {
    ConnectSqlite();
    EXPECT_TRUE(connection.IsConnected());
    EXPECT_EQ(odbc_log::Names(), (Names{"SQLAllocEnv", "SQLAllocConnect", "SQLConnect"}));
    const auto connect = odbc_log::CallsOf("SQLConnect").at(0);
    EXPECT_EQ(connect.arguments, (std::vector<long long>{SQL_NTS, SQL_NTS, SQL_NTS}));
    const SQLHANDLE environment = odbc_log::CallsOf("SQLAllocConnect").at(0).handle;

    odbc_log::Clear();
    connection.Disconnect();
    EXPECT_FALSE(connection.IsConnected());
    EXPECT_EQ(odbc_log::Names(), (Names{"SQLDisconnect", "SQLFreeConnect", "SQLFreeEnv"}));
    EXPECT_EQ(odbc_log::Calls()[0].handle, connect.handle);
    EXPECT_EQ(odbc_log::Calls()[1].handle, connect.handle);
    EXPECT_EQ(odbc_log::Calls()[2].handle, environment);

    odbc_log::Clear();
    connection.Disconnect();
    EXPECT_TRUE(odbc_log::Names().empty()) << "a second Disconnect calls nothing";
}

TEST_F(DbConnectionTest, ConnectWhileConnectedClosesTheOldConnectionFirst) {
    ConnectSqlite();
    const SQLHANDLE oldConnection = odbc_log::CallsOf("SQLConnect").at(0).handle;
    odbc_log::Clear();
    ConnectSqlite();
    EXPECT_TRUE(connection.IsConnected());
    EXPECT_EQ(odbc_log::Names(), (Names{"SQLDisconnect", "SQLFreeConnect", "SQLFreeEnv", "SQLAllocEnv",
                                        "SQLAllocConnect", "SQLConnect"}));
    EXPECT_EQ(odbc_log::Calls()[0].handle, oldConnection);
    ExpectOnlyConnectionHandles();
}

TEST_F(DbConnectionTest, DestructionDisconnects) {
    {
        CDbConnection scoped;
        scoped.Connect(test_env::SqliteDsn(), "", "");
        ExpectOnlyConnectionHandles();
    }
    EXPECT_TRUE(odbc_log::LiveHandles().empty());
}

// Every failing Connect ends disconnected with no handle held, whether or not
// a connection was open before; the diagnostic is read from the connection
// handle before it is freed.
struct ConnectFailure {
    const char* label;
    bool needsPostgres;
    bool connectedBefore;
    std::function<void(CDbConnection&)> connect;
    std::vector<std::string> messageParts;  // all found in the message
    bool handlesAllocated = true;           // false: nothing to free
};

TEST_F(DbConnectionTest, FailedConnectEndsDisconnectedWithoutHandles) {
    const std::vector<ConnectFailure> cases = {
        {"unknown data source", false, false,
         [](CDbConnection& c) { c.Connect("NoSuchSource_Tarnwell", "user", "password"); },
         {"\r\nError: ", "Data source name not found", "SQLSTATE = IM002\r\n"}},
        {"unknown data source while connected", false, true,
         [](CDbConnection& c) { c.Connect("", "", ""); },
         {"SQLSTATE = IM002\r\n"}},
        {"no environment handle", false, false,
         [](CDbConnection& c) {
             odbc_log::FailNext("SQLAllocEnv", SQL_ERROR);
             c.Connect(test_env::SqliteDsn(), "", "");
         },
         {kReadFailed},
         false},
        {"wrong password while connected", true, true,
         [](CDbConnection& c) { c.Connect(test_env::PgDsn(), test_env::PgUser(), test_env::PgPassword() + "x"); },
         {"password authentication failed", "SQLSTATE = 08001\r\n"}},
        {"empty password", true, false,
         [](CDbConnection& c) { c.Connect(test_env::PgDsn(), test_env::PgUser(), ""); },
         {"SQLSTATE = 08001\r\n"}},
    };
    for (const ConnectFailure& c : cases) {
        SCOPED_TRACE(c.label);
        if (c.needsPostgres && !test_env::HavePostgres()) {
            if (test_env::PostgresRequired()) ADD_FAILURE() << "no PostgreSQL server";
            continue;
        }
        if (c.connectedBefore) ConnectSqlite();
        odbc_log::Clear();

        const std::string message = DbErrorOf([&] { c.connect(connection); });
        for (const std::string& part : c.messageParts) EXPECT_NE(message.find(part), std::string::npos) << message;
        EXPECT_FALSE(connection.IsConnected());
        EXPECT_TRUE(odbc_log::LiveHandles().empty());

        Names expected = {"SQLAllocEnv", "SQLAllocConnect", "SQLConnect", "SQLGetDiagRec"};
        if (c.handlesAllocated) expected.insert(expected.end(), {"SQLFreeConnect", "SQLFreeEnv"});
        if (c.connectedBefore) expected.insert(expected.begin(), {"SQLDisconnect", "SQLFreeConnect", "SQLFreeEnv"});
        EXPECT_EQ(odbc_log::Names(), expected);
        EXPECT_EQ(odbc_log::CallsOf("SQLGetDiagRec").at(0).arguments,
                  (std::vector<long long>{SQL_HANDLE_DBC, 1, 1000}));
    }
}

TEST_F(DbConnectionTest, StatementsWithoutResultSetLeaveNoStatementHandle) {
    ConnectSqlite();
    const std::vector<std::string> statements = {
        "create table no_result (a integer, b text)",
        "insert into no_result values (1, 'x'), (2, 'y')",
        "update no_result set b = 'z' where a = 1",
        "update no_result set b = 'z' where a = 99",
        "delete from no_result where a = 2",
        "drop table no_result",
    };
    for (const std::string& sql : statements) {
        SCOPED_TRACE(sql);
        odbc_log::Clear();
        const ExecuteResult result = connection.Execute(sql);
        EXPECT_EQ(result.statement, nullptr);
        EXPECT_FALSE(result.warning.has_value());
        EXPECT_EQ(odbc_log::Names(), (Names{"SQLAllocStmt", "SQLExecDirect", "SQLNumResultCols", "SQLFreeStmt"}));
        EXPECT_EQ(odbc_log::CallsOf("SQLExecDirect").at(0).arguments,
                  (std::vector<long long>{static_cast<long long>(sql.size())}));
        EXPECT_EQ(odbc_log::CallsOf("SQLFreeStmt").at(0).arguments, (std::vector<long long>{SQL_DROP}));
        ExpectOnlyConnectionHandles();
    }
}

TEST_F(DbConnectionTest, QueryWithoutRowsStillReturnsItsStatement) {
    ConnectSqlite();
    connection.Execute("create table empty_rows (a integer, b text)");
    odbc_log::Clear();
    ExecuteResult result = connection.Execute("select a, b from empty_rows");
    ASSERT_NE(result.statement, nullptr);
    EXPECT_FALSE(result.warning.has_value());
    EXPECT_EQ(odbc_log::Names(), (Names{"SQLAllocStmt", "SQLExecDirect", "SQLNumResultCols"}));
    EXPECT_EQ(result.statement->GetColumnCount(), 2);
    EXPECT_FALSE(result.statement->Fetch());
    EXPECT_EQ(odbc_log::LiveHandles().size(), 3u);
    result.statement->Close();
    ExpectOnlyConnectionHandles();
}

TEST_F(DbConnectionTest, TextGoesToTheDriverWithItsByteLength) {
    ConnectSqlite();
    // Only the viewed bytes are the statement: what follows them in memory
    // (no NUL, and text that would not parse) never reaches the driver.
    const std::string memory = "select 'caf\xC3\xA9' as word) junk that does not parse";
    const std::string_view sql(memory.data(), 22);
    odbc_log::Clear();
    const ExecuteResult result = connection.Execute(sql);
    ASSERT_NE(result.statement, nullptr);
    EXPECT_EQ(odbc_log::CallsOf("SQLExecDirect").at(0).arguments, (std::vector<long long>{22}));
    char value[16] = {};
    SQLLEN indicator = 0;
    result.statement->BindColumn(1, value, sizeof value, &indicator);
    ASSERT_TRUE(result.statement->Fetch());
    EXPECT_STREQ(value, "caf\xC3\xA9");
    EXPECT_EQ(indicator, 5);
}

TEST_F(DbConnectionTest, FailingStatementReadsItsDiagnosticBeforeFreeing) {
    ConnectSqlite();
    odbc_log::Clear();
    const std::string message = DbErrorOf([&] { connection.Execute("select * from no_such_table_here"); });
    EXPECT_EQ(message.rfind("\r\nError: ", 0), 0u) << message;
    EXPECT_NE(message.find("no such table: no_such_table_here"), std::string::npos) << message;
    EXPECT_NE(message.find(" SQLSTATE = "), std::string::npos) << message;
    EXPECT_EQ(odbc_log::Names(), (Names{"SQLAllocStmt", "SQLExecDirect", "SQLGetDiagRec", "SQLFreeStmt"}));
    EXPECT_EQ(odbc_log::CallsOf("SQLGetDiagRec").at(0).arguments, (std::vector<long long>{SQL_HANDLE_STMT, 1, 1000}));
    ExpectOnlyConnectionHandles();
    EXPECT_TRUE(connection.IsConnected());
}

// Results the drivers at hand do not give for these statements, injected at
// the driver manager's door: each path must end with the statement freed.
struct InjectedResult {
    const char* label;
    const char* call;
    SQLRETURN result;
    bool throws;
    Names calls;
};

TEST_F(DbConnectionTest, EveryExecutePathFreesTheStatement) {
    const std::vector<InjectedResult> cases = {
        {"no data from SQLExecDirect", "SQLExecDirect", SQL_NO_DATA, false,
         {"SQLAllocStmt", "SQLExecDirect", "SQLFreeStmt"}},
        {"error from SQLExecDirect", "SQLExecDirect", SQL_ERROR, true,
         {"SQLAllocStmt", "SQLExecDirect", "SQLGetDiagRec", "SQLFreeStmt"}},
        {"warning from SQLNumResultCols", "SQLNumResultCols", SQL_SUCCESS_WITH_INFO, false,
         {"SQLAllocStmt", "SQLExecDirect", "SQLNumResultCols", "SQLGetDiagRec", "SQLFreeStmt"}},
        {"error from SQLNumResultCols", "SQLNumResultCols", SQL_ERROR, true,
         {"SQLAllocStmt", "SQLExecDirect", "SQLNumResultCols", "SQLGetDiagRec", "SQLFreeStmt"}},
        {"no statement handle", "SQLAllocStmt", SQL_ERROR, true,
         {"SQLAllocStmt", "SQLExecDirect", "SQLGetDiagRec"}},
    };
    ConnectSqlite();
    for (const InjectedResult& c : cases) {
        SCOPED_TRACE(c.label);
        odbc_log::Clear();
        odbc_log::FailNext(c.call, c.result);
        if (c.throws) {
            // None of these leaves a diagnostic record behind.
            EXPECT_EQ(DbErrorOf([&] { connection.Execute("select 1"); }), kReadFailed);
        } else {
            const ExecuteResult result = connection.Execute("select 1");
            EXPECT_EQ(result.statement, nullptr);
            EXPECT_EQ(result.warning.has_value(), c.result == SQL_SUCCESS_WITH_INFO);
        }
        EXPECT_EQ(odbc_log::Names(), c.calls);
        ExpectOnlyConnectionHandles();
    }
}

TEST_F(DbConnectionTest, ExecuteWithoutConnectionFailsWithoutHandles) {
    EXPECT_EQ(DbErrorOf([&] { connection.Execute("select 1"); }), kReadFailed);
}

// Warnings (SQL_SUCCESS_WITH_INFO) are successes: the statement runs, any
// result set comes back, and the first diagnostic record is handed over.
TEST_F(DbConnectionTest, PostgresNoticeIsAWarningOfASuccessfulStatement) {
    TARNWELL_REQUIRE_POSTGRES();
    ConnectPostgres();

    ExecuteResult result = connection.Execute("drop table if exists nosuch_xyz_db_test");
    EXPECT_EQ(result.statement, nullptr);
    ASSERT_TRUE(result.warning.has_value());
    EXPECT_TRUE(result.warning->valid);
    EXPECT_EQ(result.warning->sqlState, "00000");
    EXPECT_NE(result.warning->text.find("nosuch_xyz_db_test\" does not exist, skipping"), std::string::npos)
        << result.warning->text;
    ExpectOnlyConnectionHandles();

    connection.Execute(
        "create function pg_temp.noisy_db_test() returns int language plpgsql as "
        "$$ begin raise notice 'counting'; return 7; end $$");
    result = connection.Execute("select pg_temp.noisy_db_test() as n");
    ASSERT_NE(result.statement, nullptr);
    ASSERT_TRUE(result.warning.has_value());
    EXPECT_NE(result.warning->text.find("NOTICE: counting"), std::string::npos) << result.warning->text;
    char value[8] = {};
    SQLLEN indicator = 0;
    result.statement->BindColumn(1, value, sizeof value, &indicator);
    ASSERT_TRUE(result.statement->Fetch());
    EXPECT_STREQ(value, "7");
    EXPECT_FALSE(result.statement->Fetch());
}

// The diagnostic text buffer holds 999 characters: a longer text is cut there
// and still reported with its SQLSTATE.
TEST_F(DbConnectionTest, LongDiagnosticIsCutToItsFirst999Characters) {
    TARNWELL_REQUIRE_POSTGRES();
    ConnectPostgres();
    const auto raise = [&](std::size_t length) {
        return DbErrorOf([&] {
            connection.Execute("do $$ begin raise exception '%', repeat('x', " + std::to_string(length) + "); end $$");
        });
    };
    const std::string prefix = "\r\nError: ";
    const std::string suffix = " SQLSTATE = P0001\r\n";
    // The driver wraps the server's text; measure what it adds.
    const std::string shortMessage = raise(10);
    ASSERT_GT(shortMessage.size(), prefix.size() + 10 + suffix.size()) << shortMessage;
    const std::size_t overhead = shortMessage.size() - prefix.size() - 10 - suffix.size();

    struct Case {
        std::size_t textLength;
        std::size_t shownLength;
    };
    for (const Case& c : {Case{998, 998}, Case{999, 999}, Case{1000, 999}, Case{1600, 999}}) {
        SCOPED_TRACE(c.textLength);
        const std::string message = raise(c.textLength - overhead);
        EXPECT_EQ(message.size(), prefix.size() + c.shownLength + suffix.size());
        EXPECT_EQ(message.rfind(prefix + "ERROR: xxxxx", 0), 0u) << message.substr(0, 40);
        EXPECT_EQ(message.substr(message.size() - suffix.size()), suffix);
    }
    ExpectOnlyConnectionHandles();
}

}  // namespace
