#include "run_fixture.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <new>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string kStart = "Executing...\r\n";
const std::string kEnd = "Script execution complete\r\n";
const std::string kNoSuchTable = "\r\nError: [SQLite]no such table: nosuch (1) SQLSTATE = S1000\r\n";

std::string Echo(const std::string& text) { return "SQL> " + text; }
std::string Ok(const std::string& text) { return Echo(text) + "\r\nok\r\n"; }

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Each test works on a database of its own.
class SqliteRunTest : public RunFixture {
protected:
    void SetUp() override {
        static int databases = 0;
        m_connection.Connect(test_env::NewSqliteDsn("ExecRun" + std::to_string(++databases)), "", "");
    }
};

struct TranscriptCase {
    const char* name;
    std::string script;
    std::string verbose;  // EnableOutput on: everything appended
    std::string quiet;    // EnableOutput off, between "Executing..." and the closing line
    int maxColLen = 100;
};

const std::string kWorkedSetup =
    "create table w(ID integer, NAME varchar(5));\r\n"
    "insert into w values(1, 'abc');\r\n"
    "insert into w values(NULL, 'xy');\r\n";
const std::string kWorkedTable =
    "\r\nID         NAME  \r\n"
    "---------- ----- \r\n"
    "1          abc   \r\n"
    "           xy    \r\n"
    "2 row(s) fetched\r\n";
const std::string k150 = "replace(hex(zeroblob(75)), '0', 'v')";  // 150 times "v"

const TranscriptCase kTranscripts[] = {
    {"NoResultSet", "create table t(a int)", Ok("create table t(a int)"), ""},
    {"ResultSet", "select 1 as x",
     Echo("select 1 as x") + "\r\nx          \r\n---------- \r\n1          \r\n1 row(s) fetched\r\n",
     Echo("select 1 as x") + "\r\nx          \r\n---------- \r\n1          \r\n1 row(s) fetched\r\n"},
    {"FailingStatement", "select * from nosuch", Echo("select * from nosuch") + kNoSuchTable,
     Echo("select * from nosuch") + kNoSuchTable},
    {"EmptyScript", "", "", ""},
    {"BlanksAndSemicolonsOnly", " ;\r\n\r\n ;\t;", "", ""},
    {"SecondOfThreeFails", "create table t(a int);\r\nselect * from nosuch;\r\ninsert into t values(7);\r\nselect a from t",
     Ok("create table t(a int)") + Echo("select * from nosuch") +
         kNoSuchTable + Ok("insert into t values(7)") + Echo("select a from t") +
         "\r\na          \r\n---------- \r\n7          \r\n1 row(s) fetched\r\n",
     Echo("select * from nosuch") + kNoSuchTable + Echo("select a from t") +
         "\r\na          \r\n---------- \r\n7          \r\n1 row(s) fetched\r\n"},
    {"LeadingBlankLinesSkippedTrailingKept", "\r\n\r\n \t\vselect 2 as y \r\n",
     Echo("select 2 as y \r\n") + "\r\ny          \r\n---------- \r\n2          \r\n1 row(s) fetched\r\n",
     Echo("select 2 as y \r\n") + "\r\ny          \r\n---------- \r\n2          \r\n1 row(s) fetched\r\n"},
    {"LineBreaksEchoedAsTheyStand", "select\r\n  3 as z", Echo("select\r\n  3 as z") + "\r\nz          \r\n---------- \r\n3          \r\n1 row(s) fetched\r\n",
     Echo("select\r\n  3 as z") + "\r\nz          \r\n---------- \r\n3          \r\n1 row(s) fetched\r\n"},
    {"WorkedExample", kWorkedSetup + "select ID, NAME from w",
     Ok("create table w(ID integer, NAME varchar(5))") + Ok("insert into w values(1, 'abc')") +
         Ok("insert into w values(NULL, 'xy')") + Echo("select ID, NAME from w") + kWorkedTable,
     Echo("select ID, NAME from w") + kWorkedTable},
    {"NoRows", "create table e(a integer);select a from e",
     Ok("create table e(a integer)") + Echo("select a from e") + "\r\na          \r\n---------- \r\n0 row(s) fetched\r\n",
     Echo("select a from e") + "\r\na          \r\n---------- \r\n0 row(s) fetched\r\n"},
    {"SizeZeroGetsDefColLen", "create table z(a varchar(0));insert into z values('hello world');select a from z",
     Ok("create table z(a varchar(0))") + Ok("insert into z values('hello world')") + Echo("select a from z") +
         "\r\na          \r\n---------- \r\nhello worl \r\n1 row(s) fetched\r\n",
     Echo("select a from z") + "\r\na          \r\n---------- \r\nhello worl \r\n1 row(s) fetched\r\n"},
    {"Size255AtMaxColLen100", "create table b(c varchar(255));insert into b values(" + k150 + ");select c from b",
     Ok("create table b(c varchar(255))") + Ok("insert into b values(" + k150 + ")") + Echo("select c from b") +
         "\r\nc" + std::string(99, ' ') + "\r\n" + std::string(99, '-') + " \r\n" + std::string(99, 'v') +
         " \r\n1 row(s) fetched\r\n",
     Echo("select c from b") + "\r\nc" + std::string(99, ' ') + "\r\n" + std::string(99, '-') + " \r\n" +
         std::string(99, 'v') + " \r\n1 row(s) fetched\r\n"},
    {"NameLongerThanColumnIsCut", "create table d(DESCRIPTION char(1));insert into d values('x');select DESCRIPTION from d",
     Ok("create table d(DESCRIPTION char(1))") + Ok("insert into d values('x')") + Echo("select DESCRIPTION from d") +
         "\r\nD \r\n- \r\nx \r\n1 row(s) fetched\r\n",
     Echo("select DESCRIPTION from d") + "\r\nD \r\n- \r\nx \r\n1 row(s) fetched\r\n"},
    {"DoubleWidthValueCutAtCharacter",
     "create table u(c varchar(4));insert into u values('\xE6\xBC\xA2\xE5\xAD\x97\xE6\xBC\xA2\xE5\xAD\x97');select c from u",
     Ok("create table u(c varchar(4))") + Ok("insert into u values('\xE6\xBC\xA2\xE5\xAD\x97\xE6\xBC\xA2\xE5\xAD\x97')") +
         Echo("select c from u") + "\r\nc    \r\n---- \r\n\xE6\xBC\xA2\xE5\xAD\x97 \r\n1 row(s) fetched\r\n",
     Echo("select c from u") + "\r\nc    \r\n---- \r\n\xE6\xBC\xA2\xE5\xAD\x97 \r\n1 row(s) fetched\r\n"},
    {"MaxColLenOne", "select 1 as y, 'abc' as z", Echo("select 1 as y, 'abc' as z") + "\r\n  \r\n  \r\n  \r\n1 row(s) fetched\r\n",
     Echo("select 1 as y, 'abc' as z") + "\r\n  \r\n  \r\n  \r\n1 row(s) fetched\r\n", 1},
};

class TranscriptTest : public SqliteRunTest, public ::testing::WithParamInterface<TranscriptCase> {};

TEST_P(TranscriptTest, VerboseOutput) {
    m_settings.MaxColLen = GetParam().maxColLen;
    m_settings.EnableOutput = 1;
    EXPECT_EQ(Run(GetParam().script), GetParam().verbose);
}

TEST_P(TranscriptTest, QuietOutput) {
    m_settings.MaxColLen = GetParam().maxColLen;
    m_settings.EnableOutput = 0;
    EXPECT_EQ(Run(GetParam().script), kStart + GetParam().quiet + kEnd);
}

INSTANTIATE_TEST_SUITE_P(Sqlite, TranscriptTest, ::testing::ValuesIn(kTranscripts),
                         [](const ::testing::TestParamInfo<TranscriptCase>& info) { return std::string(info.param.name); });

TEST_F(SqliteRunTest, VerboseRunSuspendsRedrawPerStatementAndEndsWithSelectAll) {
    m_settings.EnableOutput = 1;
    Run("create table t(a int);;select * from nosuch");
    const std::vector<std::string> expected = {
        "status:Executing...",
        "suspend", "append:SQL> ", "append:create table t(a int)", "append:\r\nok\r\n", "resume",
        "suspend", "resume",  // the empty statement between the semicolons
        "suspend", "append:SQL> ", "append:select * from nosuch", "append:" + kNoSuchTable, "resume",
        "select-all", "status:"};
    EXPECT_EQ(m_events, expected);
    EXPECT_EQ(m_summary.statements, 2);
    EXPECT_EQ(m_summary.failures, 1);
    EXPECT_TRUE(m_summary.connected);
}

TEST_F(SqliteRunTest, QuietRunRepaintsAfterTheStartLineAndClosesAfterSelectAll) {
    m_settings.EnableOutput = 0;
    Run("create table t(a int)");
    const std::vector<std::string> expected = {"status:Executing...", "append:" + kStart, "repaint", "select-all",
                                               "status:", "append:" + kEnd};
    EXPECT_EQ(m_events, expected);
}

TEST_F(SqliteRunTest, StopOnErrorEndsAfterTheFirstFailure) {
    const std::string script = "select 1 as x;select * from nosuch;create table t(a int)";
    Run(script, true);
    EXPECT_EQ(m_summary.statements, 2);
    EXPECT_EQ(m_summary.failures, 1);
    EXPECT_EQ(m_output.Text().find("create table"), std::string::npos);
    ASSERT_EQ(m_history.Size(), 1u);
    EXPECT_EQ(m_history.Current(), script);

    Run(script);
    EXPECT_EQ(m_summary.statements, 3);
    EXPECT_EQ(m_summary.failures, 1);
}

TEST_F(SqliteRunTest, EveryRunBecomesTheNewestHistoryEntryUpToTwentyOne) {
    Run("");
    ASSERT_EQ(m_history.Size(), 1u);
    EXPECT_EQ(m_history.Current(), "");
    for (int run = 2; run <= 22; ++run) Run("select " + std::to_string(run) + " as n");
    ASSERT_EQ(m_history.Size(), 21u);
    EXPECT_EQ(m_history.Entry(0), "select 2 as n");
    EXPECT_EQ(m_history.Current(), "select 22 as n");
}

TEST_F(SqliteRunTest, SpoolFileGetsEveryAppendedByteButTheClosingLine) {
    const std::string spool = test_env::TempDir() + "/spool-quiet.txt";
    m_settings.EnableSpool = 1;
    m_settings.SpoolFile = spool;
    m_settings.EnableOutput = 0;
    m_output.SetWrapWidth(16);  // the error text is wrapped in the file as in the pane
    const std::string first = Run("select 1 as x;select * from nosuch");
    ASSERT_EQ(first.substr(first.size() - kEnd.size()), kEnd);
    EXPECT_NE(first.find("\r\nError: [SQLite\r\n]no such"), std::string::npos);
    EXPECT_EQ(ReadFile(spool), first.substr(0, first.size() - kEnd.size()));

    // Each run appends to what the earlier runs left.
    m_settings.EnableOutput = 1;
    const std::string second = Run("create table t(a int)");
    EXPECT_EQ(ReadFile(spool), first.substr(0, first.size() - kEnd.size()) + second);
}

TEST_F(SqliteRunTest, SpoolPathInAMissingFolderLeavesThePaneOutputAlone) {
    m_settings.EnableSpool = 1;
    m_settings.SpoolFile = test_env::TempDir() + "/missing/spool.txt";
    EXPECT_EQ(Run("create table t(a int)"), Ok("create table t(a int)"));
    EXPECT_FALSE(std::filesystem::exists(test_env::TempDir() + "/missing"));
    EXPECT_EQ(m_history.Size(), 1u);
}

// What the run says at the end about a NUL byte in the script, and where a
// spool file that cannot be written stops.
struct RunNoticeCase {
    const char* name;
    std::string script;
    int enableOutput;
    std::string spoolFile;   // "" for no spool file
    std::string expected;
    int nulLine;
    bool spoolFailed;
};

const std::string kNul(1, '\0');
const std::string kOneRow = Echo("select 1 as x") + "\r\nx          \r\n---------- \r\n1          \r\n1 row(s) fetched\r\n";
const std::string kNulNotice = "; the text after it was not run.\r\n";
const std::string kSpoolStopped = "Spool file write failed: No space left on device; spooling stopped.\r\n";

const RunNoticeCase kRunNotices[] = {
    {"NulBeforeText", "select 1 as x;" + kNul + "drop table important;", 1, "",
     kOneRow + "The script holds a NUL byte at line 1" + kNulNotice, 1, false},
    {"NulOnALaterLineQuiet", "select 1 as x;\r\n\r\n" + kNul + "select 2", 0, "",
     kStart + kOneRow + "The script holds a NUL byte at line 3" + kNulNotice + kEnd, 3, false},
    // Nothing but NUL bytes and blanks after it: nothing was left out.
    {"TrailingNulsOnly", "select 1 as x;" + kNul + "\r\n" + kNul, 1, "", kOneRow, 0, false},
    // The spool fails when stdio writes its buffer: at the end of a short run...
    {"SpoolFailsAtClose", "select 1 as x", 1, "/dev/full", kOneRow + kSpoolStopped, 0, true},
    // ...and in the middle of a long one, on a line of its own, once.
    {"SpoolFailsMidRun", "select printf('%.90c', 'v') as v from (with recursive c(x) as (select 1 union all "
                         "select x + 1 from c where x < 100) select x from c);select 1 as x", 1, "/dev/full",
     kSpoolStopped, 0, true},
};

class RunNoticeTest : public SqliteRunTest, public ::testing::WithParamInterface<RunNoticeCase> {};

TEST_P(RunNoticeTest, IsWrittenOnceWhereItHappened) {
    const RunNoticeCase& c = GetParam();
    m_settings.EnableOutput = c.enableOutput;
    m_settings.EnableSpool = !c.spoolFile.empty();
    m_settings.SpoolFile = c.spoolFile;
    const std::string text = Run(c.script);
    if (std::string_view(c.name) == "SpoolFailsMidRun") {
        const std::size_t at = text.find(kSpoolStopped);
        ASSERT_NE(at, std::string::npos) << text;
        EXPECT_EQ(text.find(kSpoolStopped, at + 1), std::string::npos);
        EXPECT_EQ(text.substr(at - 2, 2), "\r\n");
        EXPECT_LT(at, text.find("100 row(s) fetched"));
        // The pane still gets everything.
        std::string withoutNotice = text;
        withoutNotice.erase(at, kSpoolStopped.size());
        EXPECT_TRUE(withoutNotice.ends_with("100 row(s) fetched\r\n" + kOneRow)) << withoutNotice;
    } else {
        EXPECT_EQ(text, c.expected);
    }
    EXPECT_EQ(m_summary.nulLine, c.nulLine);
    EXPECT_EQ(m_summary.spoolFailed, c.spoolFailed);
    EXPECT_EQ(m_history.Current(), c.script);
}

INSTANTIATE_TEST_SUITE_P(Sqlite, RunNoticeTest, ::testing::ValuesIn(kRunNotices),
                         [](const ::testing::TestParamInfo<RunNoticeCase>& info) { return std::string(info.param.name); });

TEST_F(RunFixture, NotConnectedPrintsOnlyThatInBothModes) {
    const std::string spool = test_env::TempDir() + "/spool-unconnected.txt";
    m_settings.EnableSpool = 1;
    m_settings.SpoolFile = spool;
    for (int enableOutput : {1, 0}) {
        m_settings.EnableOutput = enableOutput;
        EXPECT_EQ(Run("select 1 as x"), "not connected\r\n");
        const std::vector<std::string> expected = {"status:Executing...", "append:not connected\r\n", "status:"};
        EXPECT_EQ(m_events, expected);
        EXPECT_FALSE(m_summary.connected);
        EXPECT_EQ(m_summary.statements, 0);
    }
    EXPECT_TRUE(m_history.IsEmpty());
    EXPECT_EQ(ReadFile(spool), "not connected\r\nnot connected\r\n");
}

// Fails the first append of one text with an out-of-memory error.
class CFailingSink : public CRecordingSink {
public:
    explicit CFailingSink(std::string failOn) : m_strFailOn(std::move(failOn)) {}
    void AppendText(std::string_view text) override {
        if (!m_bFailed && text == m_strFailOn) {
            m_bFailed = true;
            throw std::bad_alloc();
        }
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
    const RunSummary summary = runner.Run(source, m_settings);
    EXPECT_EQ(output.Text(), kStart + Echo("select 1 as x") + "\r\nx          \r\n---------- \r\n" +
                                 "\r\nOut of memory.\r\n" + Echo("select 2 as y") +
                                 "\r\ny          \r\n---------- \r\n2          \r\n1 row(s) fetched\r\n" + kEnd);
    EXPECT_EQ(summary.failures, 1);
}

TEST_F(SqliteRunTest, ErrorTextIsWrappedToThePaneWidth) {
    // SQLite repeats an unknown function's name in its message.
    const std::string statement = "select " + std::string(300, 'f') + "()";
    m_output.SetWrapWidth(50);
    Run(statement);
    const std::vector<std::string>& appends = m_output.Appends();
    ASSERT_GT(appends.size(), 4u);
    EXPECT_EQ(appends[0] + appends[1], Echo(statement));
    std::string message;
    for (std::size_t i = 2; i < appends.size(); ++i) {
        if (i % 2 == 0) {
            EXPECT_LE(appends[i].size(), 50u);
            message += appends[i];
        } else {
            EXPECT_EQ(appends[i], "\r\n");
        }
    }
    EXPECT_EQ(message, "\r\nError: [SQLite]no such function: " + std::string(300, 'f') + " (1) SQLSTATE = S1000\r\n");
}

}  // namespace
