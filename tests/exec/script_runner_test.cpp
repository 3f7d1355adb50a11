#include "run_fixture.h"
#include "support/case_name.h"
#include "support/test_env.h"
#include "support/transcript.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <new>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using namespace transcript;
using test_env::ReadFile;

const std::string kNoSuchTable = "\r\nError: [SQLite]no such table: nosuch (1) SQLSTATE = S1000\r\n";
const std::string kFails = Echo("select * from nosuch") + kNoSuchTable;
const std::string kOneRow = OneValue("select 1 as x", "x", "1");

// Each test works on a database of its own.
class SqliteRunTest : public RunFixture {
protected:
    void SetUp() override {
        static int databases = 0;
        m_connection.Connect(test_env::NewSqliteDsn("ExecRun" + std::to_string(++databases)), "", "");
    }
};

// The verbose output of each statement; quiet output (between its opening
// and closing lines) leaves out the statements that say only "ok". (The
// widths and cuts of a table: see result_formatter_test, and with real
// drivers script_runner_pg_test.)
struct TranscriptCase { const char* name; std::string script; std::vector<std::string> shown; };

const std::string k150 = "replace(hex(zeroblob(75)), '0', 'v')";  // 150 times "v"

const TranscriptCase kTranscripts[] = {
    {"EmptyScript", "", {}},
    {"BlanksAndSemicolonsOnly", " ;\r\n\r\n ;\t;", {}},
    {"SecondOfThreeFails", "create table t(a int);\r\nselect * from nosuch;\r\ninsert into t values(7);\r\nselect a from t",
     {Ok("create table t(a int)"), kFails, Ok("insert into t values(7)"), OneValue("select a from t", "a", "7")}},
    {"LeadingBlankLinesSkippedTrailingKept", "\r\n\r\n \t\vselect 2 as y \r\n", {OneValue("select 2 as y \r\n", "y", "2")}},
    {"LineBreaksEchoedAsTheyStand", "select\r\n  3 as z", {OneValue("select\r\n  3 as z", "z", "3")}},
    {"WorkedExample",
     "create table w(ID integer, NAME varchar(5));\r\ninsert into w values(1, 'abc');\r\n"
     "insert into w values(NULL, 'xy');\r\nselect ID, NAME from w",
     {Ok("create table w(ID integer, NAME varchar(5))"), Ok("insert into w values(1, 'abc')"),
      Ok("insert into w values(NULL, 'xy')"),
      Echo("select ID, NAME from w") +
          "\r\nID         NAME  \r\n---------- ----- \r\n1          abc   \r\n           xy    \r\n2 row(s) fetched\r\n"}},
    {"SizeZeroGetsDefColLen", "create table z(a varchar(0));insert into z values('hello world');select a from z",
     {Ok("create table z(a varchar(0))"), Ok("insert into z values('hello world')"),
      OneValue("select a from z", "a", "hello worl")}},
    {"Size255AtMaxColLen100", "create table b(c varchar(255));insert into b values(" + k150 + ");select c from b",
     {Ok("create table b(c varchar(255))"), Ok("insert into b values(" + k150 + ")"),
      Echo("select c from b") + "\r\nc" + std::string(99, ' ') + "\r\n" + std::string(99, '-') + " \r\n" +
          std::string(99, 'v') + " \r\n1 row(s) fetched\r\n"}},
};

class TranscriptTest : public SqliteRunTest, public ::testing::WithParamInterface<TranscriptCase> {
protected:
    // Runs the case's script with EnableOutput set so and checks its output.
    void Check(bool verbose) {
        std::string text;
        for (const std::string& piece : GetParam().shown)
            if (verbose || !piece.ends_with("\r\nok\r\n")) text += piece;
        m_settings.EnableOutput = verbose;
        EXPECT_EQ(Run(GetParam().script), verbose ? text : kStart + text + kEnd);
    }
};

TEST_P(TranscriptTest, VerboseOutput) { Check(true); }
TEST_P(TranscriptTest, QuietOutput) { Check(false); }

INSTANTIATE_TEST_SUITE_P(Sqlite, TranscriptTest, ::testing::ValuesIn(kTranscripts), CaseName<TranscriptCase>);

// Verbose: redraw is suspended around each statement; quiet: a repaint after
// the opening line and the closing line after the rest. Both select the
// script and clear the status at the end.
TEST_F(SqliteRunTest, HostCallsFrameTheOutput) {
    // statements: the empty one not counted
    const struct { int enableOutput; std::string script; int statements; std::vector<std::string> events; } cases[] = {
        {1, "create table t(a int);;select * from nosuch", 2,
         {"status:Executing...", "suspend", "append:SQL> ", "append:create table t(a int)", "append:\r\nok\r\n",
          "resume", "suspend", "resume",  // the empty statement between the semicolons
          "suspend", "append:SQL> ", "append:select * from nosuch", "append:" + kNoSuchTable, "resume", "select-all",
          "status:"}},
        {0, "create table u(a int)", 1,
         {"status:Executing...", "append:" + kStart, "repaint", "select-all", "status:", "append:" + kEnd}},
    };
    for (const auto& c : cases) {
        m_settings.EnableOutput = c.enableOutput;
        Run(c.script);
        EXPECT_EQ(std::tie(m_events, m_summary.connected, m_summary.statements), std::tuple(c.events, true, c.statements));
    }
}

// Every run becomes the newest history entry, an empty one too, and is
// recorded with the connection's names, its counts and whether it was
// stopped; stopping on an error ends the run after the first failure.
TEST_F(SqliteRunTest, StopOnErrorEndsAfterTheFirstFailure) {
    Run("");
    EXPECT_EQ(m_history.Size(), 1u);
    const std::string script = "select 1 as x;select * from nosuch;create table t(a int)";
    for (const bool stopOnError : {true, false}) {
        const bool ranTheLast = Run(script, stopOnError).find("create table") != std::string::npos;
        EXPECT_EQ(std::tie(ranTheLast, m_summary.statements, m_summary.failures, m_history.Current()),
                  std::tuple(!stopOnError, stopOnError ? 2 : 3, 1, script));
    }
    EXPECT_EQ(m_history.Size(), 3u);

    CRunControl control;
    control.BeginRun();
    control.RequestStop(CRunControl::Stop::User);
    m_runner.SetControl(&control);
    Run("select 2 as y");
    // Script, data source, user name, statements, failures, cancelled.
    using Record = std::tuple<std::string, std::string, std::string, int, int, bool>;
    std::vector<Record> records;
    for (const HistoryRecord& r : m_recorded.records) {
        records.emplace_back(r.script, r.dataSource, r.userName, r.statements, r.failures, r.cancelled);
        EXPECT_GE(r.elapsedMs, 0);
    }
    const std::string dsn = m_connection.DataSource();
    EXPECT_EQ(records, (std::vector<Record>{{"", dsn, "", 0, 0, false}, {script, dsn, "", 2, 1, false},
                                           {script, dsn, "", 3, 1, false}, {"select 2 as y", dsn, "", 0, 0, true}}));
    EXPECT_EQ(dsn.rfind("ExecRun", 0), 0u);
}

TEST_F(SqliteRunTest, SpoolFileGetsEveryAppendedByteButTheClosingLine) {
    const std::string spool = test_env::TempPath("spool-quiet.txt");
    m_settings.EnableSpool = 1;
    m_settings.SpoolFile = spool;
    m_settings.EnableOutput = 0;
    // Only the error text is wrapped at the pane's width (line ends count),
    // in the file as in the pane; the echo and the table are not.
    m_output.SetWrapWidth(16);
    std::string error = kNoSuchTable;
    for (std::size_t at = 16; at < error.size(); at += 18) error.insert(at, "\r\n");
    const std::string spooled = kStart + kOneRow + Echo("select * from nosuch") + error;
    EXPECT_EQ(Run("select 1 as x;select * from nosuch"), spooled + kEnd);
    EXPECT_EQ(ReadFile(spool), spooled);

    // Each run appends to what the earlier runs left.
    m_settings.EnableOutput = 1;
    EXPECT_EQ(ReadFile(spool), spooled + Run("create table t(a int)"));

    // A spool file in a missing folder leaves the pane's output alone.
    m_settings.SpoolFile = test_env::TempPath("missing/spool.txt");
    EXPECT_EQ(Run("create table u(a int)"), Ok("create table u(a int)"));
    EXPECT_FALSE(std::filesystem::exists(test_env::TempPath("missing")));
}

// What the run says at the end about a NUL byte in the script, and where a
// spool file that cannot be written stops.
// spoolFile: "" for none; expected: "" for SpoolFailsMidRun, checked apart.
struct RunNoticeCase { const char* name; std::string script; int enableOutput; std::string spoolFile, expected; int nulLine; };

const std::string kNul(1, '\0');
const std::string kNulNotice = "; the text after it was not run.\r\n";
const std::string kSpoolStopped = "Spool file write failed: No space left on device; spooling stopped.\r\n";

const RunNoticeCase kRunNotices[] = {
    {"NulBeforeText", "select 1 as x;" + kNul + "drop table important;", 1, "",
     kOneRow + "The script holds a NUL byte at line 1" + kNulNotice, 1},
    {"NulOnALaterLineQuiet", "select 1 as x;\r\n\r\n" + kNul + "select 2", 0, "",
     kStart + kOneRow + "The script holds a NUL byte at line 3" + kNulNotice + kEnd, 3},
    // Nothing but NUL bytes and blanks after it: nothing was left out.
    {"TrailingNulsOnly", "select 1 as x;" + kNul + "\r\n" + kNul, 1, "", kOneRow, 0},
    // The spool fails when stdio writes its buffer: at the end of a short run...
    {"SpoolFailsAtClose", "select 1 as x", 1, "/dev/full", kOneRow + kSpoolStopped, 0},
    // ...and in the middle of a long one, on a line of its own, once.
    {"SpoolFailsMidRun", "select printf('%.90c', 'v') as v from (with recursive c(x) as (select 1 union all "
                         "select x + 1 from c where x < 100) select x from c);select 1 as x", 1, "/dev/full", "", 0},
};

class RunNoticeTest : public SqliteRunTest, public ::testing::WithParamInterface<RunNoticeCase> {};

TEST_P(RunNoticeTest, IsWrittenOnceWhereItHappened) {
    const RunNoticeCase& c = GetParam();
    m_settings.EnableOutput = c.enableOutput;
    m_settings.EnableSpool = !c.spoolFile.empty();
    m_settings.SpoolFile = c.spoolFile;
    const std::string text = Run(c.script);
    if (c.expected.empty()) {
        const std::size_t at = text.find(kSpoolStopped);
        ASSERT_NE(at, std::string::npos) << text;
        EXPECT_EQ(text.find(kSpoolStopped, at + 1), std::string::npos);
        EXPECT_EQ(text.substr(at - 2, 2), "\r\n");
        EXPECT_LT(at, text.find("100 row(s) fetched"));
        // The pane still gets everything.
        EXPECT_TRUE((text.substr(0, at) + text.substr(at + kSpoolStopped.size())).ends_with("100 row(s) fetched\r\n" + kOneRow))
            << text;
    } else {
        EXPECT_EQ(text, c.expected);
    }
    EXPECT_EQ(m_summary.nulLine, c.nulLine);
    EXPECT_EQ(m_summary.spoolFailed, c.spoolFile == "/dev/full");
    EXPECT_EQ(m_history.Current(), c.script);
}

INSTANTIATE_TEST_SUITE_P(Sqlite, RunNoticeTest, ::testing::ValuesIn(kRunNotices), CaseName<RunNoticeCase>);

TEST_F(RunFixture, NotConnectedPrintsOnlyThatInBothModes) {
    const std::string spool = test_env::TempPath("spool-unconnected.txt");
    m_settings.EnableSpool = 1;
    m_settings.SpoolFile = spool;
    for (int enableOutput : {1, 0}) {
        m_settings.EnableOutput = enableOutput;
        EXPECT_EQ(Run("select 1 as x"), "not connected\r\n");
        EXPECT_EQ(std::tie(m_events, m_summary.connected, m_summary.statements),
                  std::tuple(std::vector<std::string>{"status:Executing...", "append:not connected\r\n", "status:"}, false, 0));
    }
    EXPECT_TRUE(m_history.IsEmpty());
    EXPECT_TRUE(m_recorded.records.empty());
    EXPECT_EQ(ReadFile(spool), "not connected\r\nnot connected\r\n");
}

// Fails the first append of one text with an out-of-memory error.
class CFailingSink : public CRecordingSink {
public:
    explicit CFailingSink(std::string failOn) : m_strFailOn(std::move(failOn)) {}
    void AppendText(std::string_view text) override {
        if (text == m_strFailOn && !std::exchange(m_bFailed, true)) throw std::bad_alloc();
        CRecordingSink::AppendText(text);
    }

private:
    std::string m_strFailOn;
    bool m_bFailed = false;
};

TEST_F(SqliteRunTest, OutOfMemoryWhilePrintingIsReportedAndTheRunGoesOn) {
    CFailingSink output("1          \r\n");
    CScriptRunner runner(m_connection, m_history, output, m_host);
    m_settings.EnableOutput = 0;
    CTextStatementSource source("select 1 as x;select 2 as y");
    EXPECT_EQ(runner.Run(source, m_settings).failures, 1);
    EXPECT_EQ(output.Text(), kStart + Echo("select 1 as x") + "\r\nx          \r\n---------- \r\n" +
                                 "\r\nOut of memory.\r\n" + OneValue("select 2 as y", "y", "2") + kEnd);
}

}  // namespace
