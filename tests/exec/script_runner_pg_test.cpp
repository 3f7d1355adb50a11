#include "run_fixture.h"
#include "support/case_name.h"
#include "support/test_env.h"
#include "support/transcript.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace transcript;

// A script run against PostgreSQL in both modes. dsnLines: extra odbc.ini
// lines of a data source of its own ("" for the shared one); setup: run
// directly (the statement reader would cut a function body at its
// semicolons); quiet: between the opening and closing lines ("" when the
// same as verbose).
struct PgCase {
    const char* name;
    std::string dsnLines;
    std::vector<std::string> setup;
    std::string script, verbose, quiet;
    int failures, maxColLen = 100;
};

const std::string kNotice = "drop table if exists nosuch_t";
const std::string kNoticeWarning = Echo(kNotice) + "\r\nWarning: NOTICE: table \"nosuch_t\" does not exist, skipping SQLSTATE = 00000";
const std::string kDivision = "select 1/(3-x) from generate_series(1,5) x";
const std::string kBadName = "select 1 as a, 2 as \"ABCDEFGHIJ\", 3 as c";
const std::string kWorked = "select ID as \"ID\", NAME as \"NAME\" from tw_w order by ID";
const std::string kBadInt = "select repeat('e', 900)::int";
const std::string kDoubleWidth = "select cast('\xE6\xBC\xA2\xE5\xAD\x97\xE6\xBC\xA2' as varchar(4)) as c";

const PgCase kCases[] = {
    // A NOTICE is a warning and no failure.
    {"Notice", "", {}, kNotice, kNoticeWarning + "\r\nok\r\n", kNoticeWarning + "\r\n", 0},
    {"NoticeWithAResultSetStandsBetweenEchoAndTable", "",
     {"create function pg_temp.tw_notice() returns int language plpgsql as "
      "$$ begin raise notice 'hi there'; return 1; end $$"},
     "select pg_temp.tw_notice() as v",
     Echo("select pg_temp.tw_notice() as v") + "\r\nWarning: NOTICE: hi there SQLSTATE = 00000" +
         "\r\nv          \r\n---------- \r\n1          \r\n1 row(s) fetched\r\n", "", 0},
    // Rows come two at a time: the rows before the failing one, their count and the diagnostic.
    {"FetchError", "UseDeclareFetch=1\nFetch=2\n", {}, kDivision + ";select 5 as n",
     Echo(kDivision) + "\r\n?column?   \r\n---------- \r\n0          \r\n1          \r\n2 row(s) fetched\r\n"
         "\r\nError: ERROR: division by zero;\nError while fetching the next result SQLSTATE = 22012\r\n" +
         OneValue("select 5 as n", "n", "5"), "", 1},
    {"WorkedExampleWithDeclaredSizes", "",
     {"create temporary table tw_w(ID varchar(10), NAME varchar(5))", "insert into tw_w values('1', 'abc'), (NULL, 'xy')"},
     kWorked,
     Echo(kWorked) + "\r\nID         NAME  \r\n---------- ----- \r\n1          abc   \r\n           xy    \r\n2 row(s) fetched\r\n",
     "", 0},
    // A name of MaxColLen characters stops the header with the driver's diagnostic.
    {"NameOfMaxColLenCharacters", "", {}, kBadName + ";select 2 as b",
     Echo(kBadName) + "\r\na         \r\nError: The buffer was too small for the colName. SQLSTATE = 01004\r\n" +
         Echo("select 2 as b") + "\r\nb         \r\n--------- \r\n2         \r\n1 row(s) fetched\r\n", "", 1, 10},
    {"DoubleWidthValueIsCutAtACharacterBoundary", "", {}, kDoubleWidth,
     Echo(kDoubleWidth) + "\r\nc    \r\n---- \r\n\xE6\xBC\xA2\xE5\xAD\x97 \r\n1 row(s) fetched\r\n", "", 0},
    // The driver's message is cut to 799 bytes.
    {"ErrorMessageIsCutTo799Bytes", "", {}, kBadInt,
     Echo(kBadInt) + ("\r\nError: ERROR: invalid input syntax for type integer: \"" + std::string(900, 'e')).substr(0, 799),
     "", 1},
};

class PgRunTest : public RunFixture, public ::testing::WithParamInterface<PgCase> {
protected:
    void SetUp() override {
        TARNWELL_REQUIRE_POSTGRES();
        m_connection.Connect(test_env::PgDsn(), test_env::PgUser(), test_env::PgPassword());
    }
};

TEST_P(PgRunTest, BothModes) {
    const PgCase& c = GetParam();
    if (!c.dsnLines.empty())
        m_connection.Connect(test_env::NewPgDsn(std::string("Pg") + c.name, c.dsnLines), test_env::PgUser(),
                             test_env::PgPassword());
    for (const std::string& statement : c.setup) m_connection.Execute(statement);
    m_settings.MaxColLen = c.maxColLen;
    m_settings.EnableOutput = 1;
    EXPECT_EQ(Run(c.script), c.verbose);
    m_settings.EnableOutput = 0;
    EXPECT_EQ(Run(c.script), kStart + (c.quiet.empty() ? c.verbose : c.quiet) + kEnd);
    EXPECT_EQ(m_summary.failures, c.failures);
}

INSTANTIATE_TEST_SUITE_P(Pg, PgRunTest, ::testing::ValuesIn(kCases), CaseName<PgCase>);

}  // namespace
