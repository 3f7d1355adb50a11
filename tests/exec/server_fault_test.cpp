#include "run_fixture.h"
#include "support/case_name.h"
#include "support/test_env.h"
#include "support/transcript.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The fault server stopped under a run, between two statements and in the
// middle of a fetch: every later statement fails with the driver's message,
// the run ends with the lost connection named in the status text, and once
// the server is back a reconnect works and clears it. dsnLines: extra
// odbc.ini lines; before: how the transcript begins.
struct FaultCase { const char* name; std::string dsnLines, script, before; int statements, failures; };

const std::string kOne = transcript::OneValue("select 1 as n", "n", "1");

const FaultCase kFaults[] = {
    {"BetweenStatements", "", "select 1 as n;" + test_env::StopFaultServerSql() + ";select 2 as n", kOne, 3, 2},
    // Rows come ten at a time; the server stops while the query makes row 35.
    {"InTheMiddleOfAFetch", "UseDeclareFetch=1\nFetch=10\n",
     "select stop_at(x, 35) as x from generate_series(1, 100) x;select 2 as n",
     "SQL> select stop_at(x, 35) as x from generate_series(1, 100) x\r\nx          \r\n---------- \r\n1          \r\n", 2, 2},
};

class ServerFaultTest : public RunFixture, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(ServerFaultTest, LaterStatementsFailTheStatusSaysSoAndAReconnectWorks) {
    TARNWELL_REQUIRE_POSTGRES();
    const FaultCase& c = GetParam();
    const std::string dsn = test_env::NewFaultPgDsn(std::string("Fault") + c.name, c.dsnLines);
    const auto connect = [&] { m_connection.Connect(dsn, test_env::PgUser(), test_env::PgPassword()); };
    connect();
    m_connection.Execute("create or replace function stop_at(x int, at int) returns int language plpgsql as $$ "
                         "begin if x = at then " + test_env::StopFaultServerSql() + "; end if; return x; end $$");

    const std::string text = Run(c.script);
    EXPECT_TRUE(text.starts_with(c.before)) << text;
    const std::size_t last = text.rfind("SQL> select 2 as n\r\nError: ");
    EXPECT_NE(last, std::string::npos) << text;
    EXPECT_NE(text.rfind("\r\nError: ", last), std::string::npos) << text;
    EXPECT_EQ(std::pair(m_summary.statements, m_summary.failures), std::pair(c.statements, c.failures));
    EXPECT_TRUE(m_connection.IsLost());
    EXPECT_EQ(m_events.back(), std::string("status:") + kConnectionLostText);

    // Still lost on the next run, until a connect.
    Run("select 2 as n");
    EXPECT_EQ(m_events.back(), std::string("status:") + kConnectionLostText);
    ASSERT_TRUE(test_env::ControlFaultServer("start"));
    connect();
    EXPECT_FALSE(m_connection.IsLost());
    EXPECT_EQ(Run("select 1 as n"), kOne);
    EXPECT_EQ(m_events.back(), "status:");
}

INSTANTIATE_TEST_SUITE_P(Pg, ServerFaultTest, ::testing::ValuesIn(kFaults), CaseName<FaultCase>);

}  // namespace
