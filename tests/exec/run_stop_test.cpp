#include "exec/run_progress_text.h"
#include "exec/statement_watchdog.h"
#include "run_fixture.h"
#include "support/case_name.h"
#include "support/test_env.h"
#include "support/transcript.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <regex>
#include <string>
#include <thread>

namespace {

using namespace std::chrono_literals;
using Stop = CRunControl::Stop;

const std::string kOne = transcript::OneValue("select 1 as x", "x", "1");
const std::string kOneRe = transcript::Literal(kOne);
const std::string kLongSqlite = "with recursive c(x) as (select 1 union all select x + 1 from c where x < 1000000000) "
                                "select count(*) as n from c";
const std::string kPgSleep = "select 1 as x;select pg_sleep(60);select 2 as y";

bool InSecondStatement(const CRunControl::Progress& p, const CRunControl& c) {
    return p.statement == 2 && c.StatementElapsed() > 200ms;
}

// A run stopped from another thread, as the window's Cancel or a signal
// stops it (or by a watchdog of timeout seconds): what the statement
// printed so far, its row count when it had rows, the stop line and nothing
// of the statements after it. The run stops once when holds; before is the
// output up to the stop line (a regular expression), or up to the rows and
// their count line when rows is set.
using StopWhen = std::function<bool(const CRunControl::Progress&, const CRunControl&)>;
struct StopCase {
    const char* name;
    bool postgres;
    std::string script;
    StopWhen when;
    std::string before;
    int timeout = 0;
    bool rows = false;
};

const StopCase kStops[] = {
    {"SqliteStatementThatComputes", false, "select 1 as x;" + kLongSqlite + ";select 2 as y", InSecondStatement,
     kOneRe + "SQL> with recursive .*from c\r\n(n *\r\n-+ \r\n0 row\\(s\\) fetched\r\n)?"},
    {"SqliteInTheMiddleOfARowSet", false,
     "with recursive c(x) as (select 1 union all select x + 1 from c where x < 1000000) select x from c;select 2 as y",
     [](const CRunControl::Progress& p, const CRunControl&) { return p.rows >= 1000; },
     "SQL> with recursive .*from c\r\nx +\r\n-+ \r\n", 0, true},
    {"BeforeTheFirstStatement", false, "select 1 as x", [](auto&, auto&) { return true; }, ""},
    {"PostgresSleep", true, kPgSleep, InSecondStatement, kOneRe + "SQL> select pg_sleep\\(60\\)\r\n"},
    {"PostgresTimeout", true, kPgSleep, {}, kOneRe + "SQL> select pg_sleep\\(60\\)\r\n", 1},
};

class RunStopTest : public RunFixture, public ::testing::WithParamInterface<StopCase> {};

TEST_P(RunStopTest, EndsWithTheStopLineAfterWhatRanSoFar) {
    const StopCase& c = GetParam();
    if (c.postgres) {
        TARNWELL_REQUIRE_POSTGRES();
        m_connection.Connect(test_env::PgDsn(), test_env::PgUser(), test_env::PgPassword());
    } else {
        m_connection.Connect(test_env::NewSqliteDsn(std::string("Stop") + c.name), "", "");
    }
    CRunControl control;
    control.BeginRun();
    m_runner.SetControl(&control, c.timeout);
    std::optional<CStatementWatchdog> watchdog;
    if (c.timeout > 0) watchdog.emplace(control, std::chrono::seconds(c.timeout));
    if (c.when && c.when(control.GetProgress(), control)) control.RequestStop(Stop::User);
    std::thread stopper([&] {
        const auto deadline = std::chrono::steady_clock::now() + 30s;
        while (c.when && control.StopRequested() == Stop::None && std::chrono::steady_clock::now() < deadline) {
            if (c.when(control.GetProgress(), control)) control.RequestStop(Stop::User);
            std::this_thread::sleep_for(1ms);
        }
    });
    const std::string text = Run(c.script);
    stopper.join();
    const std::string line = c.timeout ? "Execution cancelled: timeout after 1 s\r\n" : "Execution cancelled\r\n";
    if (c.rows) {
        // The rows fetched so far, each on its line, then their count.
        std::string tail;
        const long rows = transcript::RowsAfter(text, c.before, tail);
        EXPECT_GE(rows, 1000);
        EXPECT_EQ(tail, std::to_string(rows) + " row(s) fetched\r\n" + line);
    } else {
        EXPECT_TRUE(std::regex_match(text, std::regex(c.before + line))) << text;
    }
    EXPECT_EQ(std::tie(m_summary.stop, m_summary.failures), std::tuple(c.timeout ? Stop::Timeout : Stop::User, 0));
    EXPECT_EQ(m_history.Current(), c.script);
    EXPECT_EQ(m_events.back(), "status:");
    // The connection is still good for the next run.
    m_runner.SetControl(nullptr);
    EXPECT_EQ(Run("select 1 as x"), kOne);
}

INSTANTIATE_TEST_SUITE_P(Stops, RunStopTest, ::testing::ValuesIn(kStops), CaseName<StopCase>);

TEST_F(RunFixture, ElapsedTimeFollowsEachStatementsOutputWhenAskedFor) {
    m_connection.Connect(test_env::NewSqliteDsn("Timing"), "", "");
    const std::string elapsed = "Elapsed: \\d+\\.\\d{3} s\r\n";
    for (const int showTiming : {0, 1}) {
        m_settings.ShowTiming = showTiming;
        const std::string table = "t" + std::to_string(showTiming);
        const std::string text = Run("select 1 as x;create table " + table + "(a int);select * from nosuch");
        const std::string timing = showTiming ? elapsed : "";
        EXPECT_TRUE(std::regex_match(text, std::regex(kOneRe + timing + "SQL> create table " + table + "\\(a int\\)\r\nok\r\n" + timing +
                                                       "SQL> select \\* from nosuch\r\nError: .*\r\n" + timing)))
            << text;
    }
}

TEST(RunProgressTextTest, NamesTheStatementItsRowsAndTheTime) {
    using namespace std::chrono;
    const struct { CRunControl::Progress progress; const char* text; } cases[] = {
        {{0, 0, false, 0s}, "Executing..."},
        {{1, 0, false, 5s}, "Executing statement 1: 0:05"},
        {{3, 120000, true, 65s}, "Executing statement 3: 120,000 rows, 1:05"},
        {{2, 1, true, 999ms}, "Executing statement 2: 1 row, 0:00"},
        {{12, 0, true, 3600s}, "Executing statement 12: 0 rows, 60:00"},
        {{7, 1234567890, true, 59s}, "Executing statement 7: 1,234,567,890 rows, 0:59"},
    };
    for (const auto& c : cases) EXPECT_EQ(RunProgressText(c.progress), c.text);
}

}  // namespace
