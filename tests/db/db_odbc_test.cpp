// The database layer against the real SQLite and PostgreSQL drivers, with
// the layer's handles counted and some results injected by odbc_call_log.cpp.
// (A fetch error after rows and a PostgreSQL NOTICE with its rows, as the
// transcript shows them: see script_runner_pg_test.)
#include "db/db_connection.h"
#include "db_error_of.h"
#include "history/history_list.h"
#include "exec/recording_host.h"
#include "exec/recording_sink.h"
#include "exec/script_runner.h"
#include "odbc_call_log.h"
#include "support/default_settings.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace {

// The message of an exception whose handle held no readable record.
const std::string kReadFailed = "\r\nError: SQLGetDiagRec failed\r\n";

class DbTest : public ::testing::Test {
protected:
    void SetUp() override { odbc_log::Clear(); }
    // Every handle the layer allocated is freed again.
    void TearDown() override {
        connection.Disconnect();
        EXPECT_EQ(odbc_log::LiveHandles(), 0u) << "an ODBC handle was left allocated";
    }

    void ConnectSqlite() { connection.Connect(test_env::SqliteDsn(), "", ""); }
    // suffix makes the password a wrong one.
    void ConnectPostgres(const std::string& suffix = {}) {
        connection.Connect(test_env::PgDsn(), test_env::PgUser(), test_env::PgPassword() + suffix);
    }

    // The transcript the engine writes for one statement, with output on.
    std::string Transcript(std::string_view sql) {
        CHistoryList history;
        CRecordingSink output;
        std::vector<std::string> events;
        CRecordingHost host(events);
        CScriptRunner(connection, history, output, host).ExecuteStatement(sql, DefaultSettings());
        return output.Text();
    }

    CDbConnection connection;
};

// Every failing Connect reports the diagnostic (of the driver manager, or of
// the driver: PostgreSQL's) and ends disconnected with no handle held, also
// when a connection was open before.
TEST_F(DbTest, FailedConnectGivesTheDriversDiagnosticAndHoldsNoHandle) {
    std::vector<std::pair<std::function<void()>, std::string>> cases = {
        {[&] { connection.Connect("NoSuchSource_Tarnwell", "u", "p"); },
         "\r\nError: [unixODBC][Driver Manager]Data source name not found"},
        {[&] { odbc_log::FailNext("SQLAllocEnv", SQL_ERROR); ConnectSqlite(); }, kReadFailed},
    };
    if (test_env::HavePostgres())
        cases.emplace_back([&] { ConnectPostgres("x"); }, "password authentication failed");
    else
        EXPECT_FALSE(test_env::PostgresRequired()) << "no PostgreSQL server";
    for (const auto& [connect, part] : cases) {
        SCOPED_TRACE(part);
        ConnectSqlite();
        const std::string message = DbErrorOf(connect).Message();
        EXPECT_PRED_FORMAT2(::testing::IsSubstring, part, message);
        EXPECT_TRUE(message.ends_with("\r\n")) << message;
        EXPECT_EQ(std::pair(connection.IsConnected(), odbc_log::LiveHandles()), std::pair(false, std::size_t{0}));
    }
}

TEST_F(DbTest, ReconnectAndDestructionFreeTheOldHandles) {
    EXPECT_EQ(DbErrorOf([&] { connection.Execute("select 1"); }).Message(), kReadFailed) << "not connected";
    ConnectSqlite();
    ConnectSqlite();
    EXPECT_EQ(std::pair(connection.IsConnected(), odbc_log::LiveHandles()), std::pair(true, std::size_t{2}));
    {
        CDbConnection scoped;
        scoped.Connect(test_env::SqliteDsn(), "", "");
        EXPECT_EQ(odbc_log::LiveHandles(), 4u);
    }
    EXPECT_EQ(odbc_log::LiveHandles(), 2u);
}

// Every path through Execute, as the worksheet's transcript shows it, ends
// with the statement freed exactly once (Close and then the destructor must
// not free it twice). Results the drivers at hand never give are injected:
// SQL_NO_DATA is a success without a result set, a warning whose record
// cannot be read is still a success, a failure without a record has the fixed
// text. The statement is a view of a longer text: only the view's bytes may
// reach the driver.
TEST_F(DbTest, EveryExecutePathIsReportedAndFreesItsStatementOnce) {
    // call: the call whose result is injected, or ""; shown: what follows the echo
    const struct { const char* call; SQLRETURN result; std::string sql, shown; std::size_t frees = 1; } cases[] = {
        {"", 0, "create temp table no_rows (a integer)", "\r\nok\r\n"},
        {"", 0, "select a from no_rows", "\r\na          \r\n---------- \r\n0 row(s) fetched\r\n"},
        {"", 0, "select * from nowhere", "\r\nError: [SQLite]no such table: nowhere (1) SQLSTATE = S1000\r\n"},
        {"SQLExecDirect", SQL_NO_DATA, "select 1", "\r\nok\r\n"},
        {"SQLNumResultCols", SQL_SUCCESS_WITH_INFO, "select 1", "\r\nWarning: SQLGetDiagRec failed\r\nok\r\n"},
        {"SQLExecDirect", SQL_ERROR, "select 1", kReadFailed},
        {"SQLNumResultCols", SQL_ERROR, "select 1", kReadFailed},
        {"SQLAllocStmt", SQL_ERROR, "select 1", kReadFailed, 0},
    };
    ConnectSqlite();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sql + " " + c.call);
        odbc_log::Clear();
        if (*c.call) odbc_log::FailNext(c.call, c.result);
        const std::string memory = c.sql + ") junk that does not parse";
        EXPECT_EQ(Transcript(std::string_view(memory).substr(0, c.sql.size())), "SQL> " + c.sql + c.shown);
        EXPECT_EQ(std::pair(odbc_log::CallCount("SQLFreeStmt"), odbc_log::LiveHandles()), std::pair(c.frees, std::size_t{2}));
    }
}

// The diagnostic text buffer holds 999 characters: a longer text is cut there
// and still reported with its SQLSTATE.
TEST_F(DbTest, LongDiagnosticIsCutToItsFirst999Characters) {
    TARNWELL_REQUIRE_POSTGRES();
    ConnectPostgres();
    // The message for an exception raised with n z's as its text.
    const auto raise = [&](std::size_t n) {
        return DbErrorOf([&] {
            connection.Execute("do $$ begin raise exception '%', repeat('z', " + std::to_string(n) + "); end $$");
        }).Message();
    };
    const std::string prefix = "\r\nError: ", suffix = " SQLSTATE = P0001\r\n";
    // The driver wraps the server's text; its text for one z shows how.
    std::string wrapped = raise(1);
    wrapped = wrapped.substr(prefix.size(), wrapped.size() - prefix.size() - suffix.size());
    for (const std::size_t length : {998u, 999u, 1000u, 1600u}) {  // of the driver's text
        SCOPED_TRACE(length);
        const std::size_t n = length - wrapped.size() + 1;
        const std::string text = std::string(wrapped).replace(wrapped.find('z'), 1, n, 'z');
        EXPECT_EQ(raise(n), prefix + text.substr(0, 999) + suffix);
    }
}

}  // namespace
