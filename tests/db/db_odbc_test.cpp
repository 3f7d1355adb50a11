// The database layer against the real SQLite and PostgreSQL drivers, with
// the layer's handles counted and some results injected by odbc_call_log.cpp.
#include "db/db_connection.h"
#include "db/db_exception.h"
#include "exec/history_list.h"
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

// Runs action, which must throw CDBException, and returns its message.
std::string DbErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const CDBException& error) {
        return error.Message();
    }
    ADD_FAILURE() << "no CDBException was thrown";
    return {};
}

std::size_t LiveHandles() { return odbc_log::LiveHandles().size(); }

class DbTest : public ::testing::Test {
protected:
    void SetUp() override { odbc_log::Clear(); }
    // Every handle the layer allocated is freed again.
    void TearDown() override {
        connection.Disconnect();
        EXPECT_EQ(LiveHandles(), 0u) << "an ODBC handle was left allocated";
    }

    void ConnectSqlite() { connection.Connect(test_env::SqliteDsn(), "", ""); }
    void ConnectPostgres() { connection.Connect(test_env::PgDsn(), test_env::PgUser(), test_env::PgPassword()); }

    // The transcript the engine writes for one statement, with output on.
    std::string Transcript(std::string_view sql) {
        CHistoryList history;
        CRecordingSink output;
        std::vector<std::string> events;
        CRecordingHost host(events);
        CSettingsRecord settings = DefaultSettings();
        CScriptRunner(connection, history, output, host).ExecuteStatement(sql, settings);
        return output.Text();
    }

    CDbConnection connection;
};

// Every failing Connect reports the driver's diagnostic and ends
// disconnected with no handle held, also when a connection was open before.
TEST_F(DbTest, FailedConnectGivesTheDriversDiagnosticAndHoldsNoHandle) {
    struct Case {
        bool needsPostgres;
        std::function<void()> connect;
        std::string part;  // of the message
    };
    const std::vector<Case> cases = {
        {false, [&] { connection.Connect("NoSuchSource_Tarnwell", "u", "p"); },
         "\r\nError: [unixODBC][Driver Manager]Data source name not found"},
        {false, [&] { odbc_log::FailNext("SQLAllocEnv", SQL_ERROR); ConnectSqlite(); }, kReadFailed},
        {true, [&] { connection.Connect(test_env::PgDsn(), test_env::PgUser(), test_env::PgPassword() + "x"); },
         "password authentication failed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.part);
        if (c.needsPostgres && !test_env::HavePostgres()) {
            if (test_env::PostgresRequired()) ADD_FAILURE() << "no PostgreSQL server";
            continue;
        }
        ConnectSqlite();
        const std::string message = DbErrorOf(c.connect);
        EXPECT_PRED_FORMAT2(::testing::IsSubstring, c.part, message);
        EXPECT_TRUE(message.ends_with("\r\n")) << message;
        EXPECT_FALSE(connection.IsConnected());
        EXPECT_EQ(LiveHandles(), 0u);
    }
}

TEST_F(DbTest, ReconnectAndDestructionFreeTheOldHandles) {
    EXPECT_EQ(DbErrorOf([&] { connection.Execute("select 1"); }), kReadFailed) << "not connected";
    ConnectSqlite();
    ConnectSqlite();
    EXPECT_TRUE(connection.IsConnected());
    EXPECT_EQ(LiveHandles(), 2u);
    {
        CDbConnection scoped;
        scoped.Connect(test_env::SqliteDsn(), "", "");
        EXPECT_EQ(LiveHandles(), 4u);
    }
    EXPECT_EQ(LiveHandles(), 2u);
}

// Every path through Execute, as the worksheet's transcript shows it, ends
// with the statement freed exactly once (Close and then the destructor must
// not free it twice). Results the drivers at hand never give are injected:
// SQL_NO_DATA is a success without a result set, a warning whose record
// cannot be read is still a success, a failure without a record has the fixed
// text. The statement is a view of a longer text: only the view's bytes may
// reach the driver.
TEST_F(DbTest, EveryExecutePathIsReportedAndFreesItsStatementOnce) {
    struct Case {
        const char* call;  // the call whose result is injected, or ""
        SQLRETURN result;
        std::string sql;
        std::string shown;  // after the echo
        std::size_t frees = 1;
    };
    const std::vector<Case> cases = {
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
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sql + " " + c.call);
        odbc_log::Clear();
        if (*c.call) odbc_log::FailNext(c.call, c.result);
        const std::string memory = c.sql + ") junk that does not parse";
        EXPECT_EQ(Transcript(std::string_view(memory).substr(0, c.sql.size())), "SQL> " + c.sql + c.shown);
        EXPECT_EQ(odbc_log::CallCount("SQLFreeStmt"), c.frees);
        EXPECT_EQ(LiveHandles(), 2u);
    }
}

// With a cursor that fetches two rows at a time, the division by zero of the
// third row reaches the program at the third SQLFetch, after two good rows.
TEST_F(DbTest, FetchErrorRaisesAfterTheRowsBeforeIt) {
    TARNWELL_REQUIRE_POSTGRES();
    const std::string dsn = test_env::NewPgDsn("DbTestFetchTwo", "UseDeclareFetch=1\nFetch=2\n");
    connection.Connect(dsn, test_env::PgUser(), test_env::PgPassword());
    auto statement = connection.Execute("select 1/(3-x) as q from generate_series(1,5) x").statement;
    ASSERT_NE(statement, nullptr);
    char value[8];
    SQLLEN indicator = 0;
    statement->BindColumn(1, value, sizeof value, &indicator);

    std::vector<std::string> rows;
    const std::string message = DbErrorOf([&] {
        while (statement->Fetch()) rows.emplace_back(value);
    });
    EXPECT_EQ(rows, (std::vector<std::string>{"0", "1"}));
    EXPECT_EQ(message, "\r\nError: ERROR: division by zero;\nError while fetching the next result SQLSTATE = 22012\r\n");
}

// A PostgreSQL NOTICE comes as SQL_SUCCESS_WITH_INFO: the statement runs, its
// result set comes back, and the first diagnostic record is the warning.
TEST_F(DbTest, PostgresNoticeIsAWarningOfASuccessfulStatement) {
    TARNWELL_REQUIRE_POSTGRES();
    ConnectPostgres();
    connection.Execute(
        "create function pg_temp.noisy_db_test() returns int language plpgsql as "
        "$$ begin raise notice 'counting'; return 7; end $$");
    const ExecuteResult result = connection.Execute("select pg_temp.noisy_db_test() as n");
    ASSERT_TRUE(result.warning.has_value());
    EXPECT_TRUE(result.warning->valid);
    EXPECT_EQ(result.warning->sqlState, "00000");
    EXPECT_EQ(result.warning->text, "NOTICE: counting");
    ASSERT_NE(result.statement, nullptr);
    char value[8] = {};
    SQLLEN indicator = 0;
    result.statement->BindColumn(1, value, sizeof value, &indicator);
    ASSERT_TRUE(result.statement->Fetch());
    EXPECT_STREQ(value, "7");
}

// The diagnostic text buffer holds 999 characters: a longer text is cut there
// and still reported with its SQLSTATE.
TEST_F(DbTest, LongDiagnosticIsCutToItsFirst999Characters) {
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
    const std::size_t overhead = raise(10).size() - prefix.size() - 10 - suffix.size();
    const std::vector<std::pair<std::size_t, std::size_t>> lengths = {{998, 998}, {999, 999}, {1000, 999}, {1600, 999}};
    for (const auto& [textLength, shownLength] : lengths) {
        SCOPED_TRACE(textLength);
        const std::string message = raise(textLength - overhead);
        EXPECT_EQ(message.size(), prefix.size() + shownLength + suffix.size());
        EXPECT_EQ(message.rfind(prefix + "ERROR: xxxxx", 0), 0u) << message.substr(0, 40);
        EXPECT_TRUE(message.ends_with(suffix)) << message;
    }
}

}  // namespace
