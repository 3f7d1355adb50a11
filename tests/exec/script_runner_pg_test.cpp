#include "run_fixture.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string kStart = "Executing...\r\n";
const std::string kEnd = "Script execution complete\r\n";

std::string Echo(const std::string& text) { return "SQL> " + text; }

class PgRunTest : public RunFixture {
protected:
    void Connect(const std::string& dataSource) {
        m_connection.Connect(dataSource, test_env::PgUser(), test_env::PgPassword());
    }
    void SetUp() override {
        TARNWELL_REQUIRE_POSTGRES();
        Connect(test_env::PgDsn());
    }

    // Runs the script in both modes; returns {verbose, quiet} output.
    std::pair<std::string, std::string> RunBothModes(const std::string& script) {
        m_settings.EnableOutput = 1;
        std::string verbose = Run(script);
        m_settings.EnableOutput = 0;
        std::string quiet = Run(script);
        return {verbose, quiet};
    }
};

TEST_F(PgRunTest, NoticeIsPrintedAsWarningAndIsNoFailure) {
    const std::string statement = "drop table if exists nosuch_t";
    const std::string warning = "\r\nWarning: NOTICE: table \"nosuch_t\" does not exist, skipping SQLSTATE = 00000";
    const auto [verbose, quiet] = RunBothModes(statement);
    EXPECT_EQ(verbose, Echo(statement) + warning + "\r\nok\r\n");
    EXPECT_EQ(quiet, kStart + Echo(statement) + warning + "\r\n" + kEnd);
    EXPECT_EQ(m_summary.statements, 1);
    EXPECT_EQ(m_summary.failures, 0);
}

TEST_F(PgRunTest, NoticeWithAResultSetStandsBetweenEchoAndTable) {
    // Created directly: the statement reader would cut the body at its semicolons.
    m_connection.Execute(
        "create function pg_temp.tw_notice() returns int language plpgsql as "
        "$$ begin raise notice 'hi there'; return 1; end $$");
    const std::string statement = "select pg_temp.tw_notice() as v";
    const std::string expected = Echo(statement) + "\r\nWarning: NOTICE: hi there SQLSTATE = 00000" +
                                 "\r\nv          \r\n---------- \r\n1          \r\n1 row(s) fetched\r\n";
    const auto [verbose, quiet] = RunBothModes(statement);
    EXPECT_EQ(verbose, expected);
    EXPECT_EQ(quiet, kStart + expected + kEnd);
}

TEST_F(PgRunTest, FetchErrorPrintsTheRowsTheirCountAndTheDiagnostic) {
    m_connection.Disconnect();
    static const std::string cursorDsn = test_env::NewPgDsn("PgCursor", "UseDeclareFetch=1\nFetch=2\n");
    Connect(cursorDsn);
    const std::string statement = "select 1/(3-x) from generate_series(1,5) x";
    const std::string expected = Echo(statement) +
                                 "\r\n?column?   \r\n---------- \r\n0          \r\n1          \r\n"
                                 "2 row(s) fetched\r\n"
                                 "\r\nError: ERROR: division by zero;\nError while fetching the next result "
                                 "SQLSTATE = 22012\r\n";
    const auto [verbose, quiet] = RunBothModes(statement + ";select 5 as n");
    const std::string next = Echo("select 5 as n") + "\r\nn          \r\n---------- \r\n5          \r\n1 row(s) fetched\r\n";
    EXPECT_EQ(verbose, expected + next);
    EXPECT_EQ(quiet, kStart + expected + next + kEnd);
    EXPECT_EQ(m_summary.statements, 2);
    EXPECT_EQ(m_summary.failures, 1);
}

TEST_F(PgRunTest, WorkedExampleWithDeclaredSizes) {
    m_connection.Execute("create temporary table tw_w(ID varchar(10), NAME varchar(5))");
    m_connection.Execute("insert into tw_w values('1', 'abc'), (NULL, 'xy')");

    ExecuteResult result = m_connection.Execute("select ID as \"ID\", NAME as \"NAME\" from tw_w");
    ASSERT_TRUE(result.statement);
    char name[100];
    SQLULEN sizes[2] = {};
    result.statement->DescribeColumn(1, name, sizeof name, sizes[0]);
    result.statement->DescribeColumn(2, name, sizeof name, sizes[1]);
    EXPECT_EQ(sizes[0], 10u);
    EXPECT_EQ(sizes[1], 5u);
    result.statement->Close();

    const std::string statement = "select ID as \"ID\", NAME as \"NAME\" from tw_w order by ID";
    const std::string expected = Echo(statement) +
                                 "\r\nID         NAME  \r\n"
                                 "---------- ----- \r\n"
                                 "1          abc   \r\n"
                                 "           xy    \r\n"
                                 "2 row(s) fetched\r\n";
    const auto [verbose, quiet] = RunBothModes(statement);
    EXPECT_EQ(verbose, expected);
    EXPECT_EQ(quiet, kStart + expected + kEnd);
}

TEST_F(PgRunTest, NameOfMaxColLenCharactersStopsTheHeaderWithTheDriversDiagnostic) {
    m_settings.MaxColLen = 10;
    const std::string statement = "select 1 as a, 2 as \"ABCDEFGHIJ\", 3 as c";
    const std::string expected = Echo(statement) + "\r\na         " +
                                 "\r\nError: The buffer was too small for the colName. SQLSTATE = 01004\r\n";
    const auto [verbose, quiet] = RunBothModes(statement + ";select 2 as b");
    const std::string next = Echo("select 2 as b") + "\r\nb         \r\n--------- \r\n2         \r\n1 row(s) fetched\r\n";
    EXPECT_EQ(verbose, expected + next);
    EXPECT_EQ(quiet, kStart + expected + next + kEnd);
}

TEST_F(PgRunTest, DoubleWidthValueIsCutAtACharacterBoundary) {
    const std::string statement = "select cast('\xE6\xBC\xA2\xE5\xAD\x97\xE6\xBC\xA2' as varchar(4)) as c";
    EXPECT_EQ(RunBothModes(statement).first,
              Echo(statement) + "\r\nc    \r\n---- \r\n\xE6\xBC\xA2\xE5\xAD\x97 \r\n1 row(s) fetched\r\n");
}

TEST_F(PgRunTest, ErrorMessageIsCutTo799Bytes) {
    const std::string statement = "select repeat('e', 900)::int";
    m_settings.EnableOutput = 1;
    const std::string out = Run(statement);
    const std::string head = Echo(statement) + "\r\nError: ERROR: invalid input syntax for type integer: \"eee";
    ASSERT_EQ(out.substr(0, head.size()), head);
    EXPECT_EQ(out.size(), Echo(statement).size() + 799);
    EXPECT_EQ(out.find_first_not_of('e', head.size()), std::string::npos);
}

}  // namespace
