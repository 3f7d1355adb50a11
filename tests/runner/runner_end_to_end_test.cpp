// tarnwell-run end to end, checked by exit status, standard output, standard
// error, the spool file, the settings file and the history.
#include "db/db_connection.h"
#include "db/odbc_doctor.h"
#include "exec/recording_sink.h"
#include "exec/query_value.h"
#include "exec/script_runner.h"
#include "exec/text_statement_source.h"
#include "history/history_list.h"
#include "history/history_store.h"
#include "runner/console_run_host.h"
#include "runner/run_options.h"
#include "runner_fixture.h"
#include "support/default_settings.h"
#include "support/transcript.h"

#include <regex>
#include <sys/stat.h>
#include <tuple>

namespace fs = std::filesystem;

namespace {

using namespace std::chrono_literals;
using test_env::ReadFile;
using test_env::WriteFile;
using namespace transcript;
using namespace std::string_literals;

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// The transcript the worksheet's engine writes for script, in this process,
// into an 80-column output with the settings of a first start.
std::string EngineTranscript(const DataSource& source, const std::string& script) {
    CDbConnection connection;
    connection.Connect(source.dsn, source.user, source.password);
    CHistoryList history;
    CRecordingSink output(80);
    CConsoleRunHost host;
    CTextStatementSource statements(script);
    CScriptRunner(connection, history, output, host).Run(statements, DefaultSettings());
    return output.Text();
}

const std::string kOne = OneValue("select 1 as n", "n", "1");

// Exercises every part of a transcript: "ok", a table with NULL, a cut value
// and a column of unknown width, an error long enough to wrap at 80 columns,
// comments, and a statement after the error.
const std::string kComparisonScript =
    "create table tw_run_cmp (id integer, name varchar(5), note varchar(300));\r\n"
    "insert into tw_run_cmp values (1, 'abc', 'short');\r\n"
    "insert into tw_run_cmp values (2, null, '" + std::string(150, 'n') + "');\r\n"
    "-- a comment before the query;\r\n"
    "select id, name, note from tw_run_cmp order by id;\r\n"
    "select * from tw_run_cmp_" + std::string(120, 'x') + ";\r\n"
    "select count(*) from tw_run_cmp;\r\n"
    "/* the end */ drop table tw_run_cmp;\r\n";

TEST_F(RunnerTest, TranscriptEqualsTheWorksheetEngines) {
    WriteFile(Path("cmp.sql"), kComparisonScript);
    for (const DataSource& source : Sources()) {
        SCOPED_TRACE(source.dsn);
        const std::string expected = EngineTranscript(source, kComparisonScript);
        ASSERT_TRUE(Has(expected, "SQLSTATE") && Has(expected, "row(s) fetched")) << expected;
        // From a file (1: the select from a missing table failed), from
        // standard input, and with LF line ends, where the spool file keeps CRLF.
        EXPECT_EQ(RunOn(source, {"cmp.sql"}), (ChildResult{1, expected, ""}));
        EXPECT_EQ(RunOn(source, {}, kComparisonScript).out, expected);
        fs::remove(Path("spool.txt"));
        EXPECT_EQ(RunOn(source, {"--lf", "--spool", "spool.txt", "-"}, kComparisonScript).out,
                  std::regex_replace(expected, std::regex("\r\n"), "\n"));
        EXPECT_EQ(ReadFile(Path("spool.txt")), expected);
        // A closed standard output must become neither the connection's
        // socket nor the spool file.
        EXPECT_EQ(RunOn(source, {"--spool", "spool.txt", "cmp.sql"}, "", ">&-").err,
                  "tarnwell-run: cannot write the transcript to standard output: Bad file descriptor\n");
        EXPECT_EQ(ReadFile(Path("spool.txt")), expected + expected);
    }
}

// TARNWELL_PASSWORD when set; without it and without a terminal there is no
// prompt (the run would hang) but an empty password, which the server refuses,
// whether the script comes from standard input (prompt on /dev/tty) or a file.
TEST_F(RunnerTest, ThePasswordComesFromTheEnvironmentOrIsEmptyWithoutATerminal) {
    TARNWELL_REQUIRE_POSTGRES();
    WriteFile(Path("one.sql"), "select 1");
    const std::pair<std::optional<std::string>, std::string> cases[] = {
        {test_env::PgPassword(), "-"}, {"wrong" + test_env::PgPassword(), "-"}, {std::nullopt, "-"}, {std::nullopt, "one.sql"}};
    const std::string refused =
        Literal("tarnwell-run: cannot connect to '" + test_env::PgDsn() + "': Error: ") + "[\\s\\S]* SQLSTATE = 08001\n";
    for (const auto& [password, script] : cases) {
        SCOPED_TRACE(password.value_or("(unset)") + " " + script);
        const ChildResult result =
            Run({"--dsn", test_env::PgDsn(), "--user", test_env::PgUser(), script}, "select 1", password);
        const bool connects = password == test_env::PgPassword();
        EXPECT_EQ(std::pair(result.status, Has(result.out, "1 row(s) fetched\r\n")), std::pair(connects ? 0 : 2, connects));
        EXPECT_TRUE(std::regex_match(result.err, std::regex(connects ? "" : refused))) << result.err;
    }
}

// The server stops under the run: the statements after it fail with the
// driver's message, the lost connection is named once on standard error
// (however many scripts follow), and the status is 1.
TEST_F(RunnerTest, ALostServerIsNamedOnceAndFailsTheRun) {
    TARNWELL_REQUIRE_POSTGRES();
    const DataSource fault{test_env::NewFaultPgDsn("RunnerFault"), test_env::PgUser(), test_env::PgPassword()};
    WriteFile(Path("first.sql"), "select 1 as n;" + test_env::StopFaultServerSql() + ";select 2 as n");
    WriteFile(Path("second.sql"), "select 3 as n");
    const ChildResult lost = RunOn(fault, {"first.sql", "second.sql"});
    ASSERT_TRUE(test_env::ControlFaultServer("start"));
    EXPECT_EQ(std::pair(lost.status, lost.err), std::pair(1, "tarnwell-run: "s + kConnectionLostText + "\n"));
    EXPECT_TRUE(lost.out.starts_with("SQL> select 1 as n\r\nn          \r\n") &&
                Has(lost.out, "SQL> select 2 as n\r\nError: ") && Has(lost.out, "SQL> select 3 as n\r\nError: "))
        << lost.out;
    // Back again: a new run connects and works.
    EXPECT_EQ(RunOn(fault, {"second.sql"}).status, 0);
}

// --reconnect: the session ends under the run (the server stays up); the
// next statement connects again, once, said on standard error.
TEST_F(RunnerTest, ReconnectConnectsAgainBeforeTheNextStatement) {
    TARNWELL_REQUIRE_POSTGRES();
    const ChildResult result = RunOn(Postgres(), {"--reconnect", "-"},
                                     "select 1 as n;select pg_terminate_backend(pg_backend_pid());select 2 as n");
    EXPECT_EQ(std::pair(result.status, result.err), std::pair(1, "tarnwell-run: the connection was lost; connecting again\n"s));
    EXPECT_TRUE(result.out.starts_with(kOne) && result.out.ends_with(OneValue("select 2 as n", "n", "2"))) << result.out;
}

// --no-autocommit: one transaction, committed when every statement
// succeeded and rolled back otherwise (with --stop-on-error right at the
// failing statement), its end the transcript's last statement.
TEST_F(RunnerTest, NoAutocommitCommitsOnlyARunWithoutFailures) {
    const std::string second = "insert into tw_nac values (2)";
    const std::string failing = "insert into tw_nac values (1);select * from tw_nowhere;" + second;
    const struct { Args args; std::string script; int status; std::string end, rows; } cases[] = {
        {{}, "insert into tw_nac values (1);" + second, 0, Ok(second) + Ok("commit"), "2"},
        {{}, failing, 1, Ok("rollback"), "0"},
        {{"--stop-on-error"}, failing, 1, "\r\n" + Ok("rollback"), "0"},
    };
    for (const DataSource& source : Sources()) {
        SCOPED_TRACE(source.dsn);
        ASSERT_EQ(RunOn(source, {}, "create table tw_nac (n integer)").status, 0);
        for (const auto& c : cases) {
            SCOPED_TRACE(c.args.size());
            Args args = c.args;
            args.push_back("--no-autocommit");
            const ChildResult result = RunOn(source, args, c.script);
            EXPECT_EQ(result.status, c.status) << result.err;
            EXPECT_TRUE(result.out.ends_with(c.end)) << result.out;
            EXPECT_EQ(Has(result.out, second), c.args.empty()) << result.out;
            EXPECT_EQ(FirstValue(RunOn(source, {}, "select count(*) from tw_nac;delete from tw_nac").out), c.rows);
        }
        RunOn(source, {}, "drop table tw_nac");
    }
}

TEST_F(RunnerTest, ExitStatusesAndMessages) {
    WriteFile(Path("first.sql"), "create table st_marker (n integer)");
    WriteFile(Path("last.sql"), "select n from st_marker;\r\ndrop table st_marker");
    fs::create_directories(Path("folder.sql"));
    const std::string dsn = test_env::SqliteDsn();
    const std::string usage = " (see tarnwell-run --help)\n";
    const std::string failed = "SQL> select * from nowhere\r\nError: [SQLite]no such table";
    const struct { Args args; std::string input; ChildResult expected; std::string redirection = {}; } cases[] = {
        {{"--dsn", dsn}, "select 1 as n", {0, kOne, ""}},
        // A failure, wrapped at the width asked for, and the run goes on.
        {{"--dsn", dsn, "--width", "30"}, "select * from nowhere;select 1 as n",
         {1, failed + "\r\n: nowhere (1) SQLSTATE = S1000\r\n\r\n" + kOne, ""}},
        {{"--dsn", dsn, "--stop-on-error"}, "select * from nowhere;select 1 as n",
         {1, failed + ": nowhere (1) SQLSTATE = S1000\r\n", ""}},
        // Several files and standard input between them, in order.
        {{"--dsn", dsn, "first.sql", "-", "last.sql"}, "insert into st_marker values (8)",
         {0, Ok("create table st_marker (n integer)") + Ok("insert into st_marker values (8)") +
                 OneValue("select n from st_marker", "n", "8") + Ok("drop table st_marker"), ""}},
        {{"--dsn", dsn, "--spool", "no/such/folder/spool.txt"}, "select 1 as n",
         {0, kOne, "tarnwell-run: cannot open the spool file 'no/such/folder/spool.txt': No such file or directory "
                   "(the run goes on without it)\n"}},
        // A spool file that cannot be written stops spooling, says so and fails the run.
        {{"--dsn", dsn, "--spool", "/dev/full"}, "select 1 as n",
         {1, kOne + "Spool file write failed: No space left on device; spooling stopped.\r\n", ""}},
        // Text after a NUL byte is not run, and the run says so.
        {{"--dsn", dsn}, std::string("select 1 as n;\n\0drop table st_marker;", 38),
         {1, kOne + "The script holds a NUL byte at line 2; the text after it was not run.\r\n", ""}},
        // A usage error (each message: run_options_test).
        {{"--dsn", dsn, "--bogus"}, "", {2, "", "tarnwell-run: unknown option '--bogus'" + usage}},
        {{"first.sql"}, "", {2, "", "tarnwell-run: missing --dsn NAME, the data source to connect to" + usage}},
        // The driver manager's diagnostic, on one line, and the ODBC doctor's report.
        {{"--dsn", "NoSuchSource", "--user", "u"}, "select 1",
         {2, "", "tarnwell-run: cannot connect to 'NoSuchSource': Error: [unixODBC][Driver Manager]Data source name not "
                 "found and no default driver specified SQLSTATE = IM002\n" + COdbcDoctor::Report("NoSuchSource")}},
        // An unreadable file runs nothing, not even the files before it.
        {{"--dsn", dsn, "first.sql", "missing.sql"}, "",
         {3, "", "tarnwell-run: cannot read script file 'missing.sql': No such file or directory\n"}},
        {{"--dsn", dsn, "folder.sql"}, "", {3, "", "tarnwell-run: cannot read script file 'folder.sql': Is a directory\n"}},
        {{"--dsn", dsn, "--expect", Path("missing.txt")}, "select 1",
         {3, "", "tarnwell-run: cannot read the expected transcript '" + Path("missing.txt") +
                     "': No such file or directory\n"}},
        {{"--help"}, "", {0, CRunOptions::HelpText(), ""}},
        // Broken standard streams (a closed standard output: see above).
        {{"--dsn", dsn}, "select 1 as n",
         {1, "", "tarnwell-run: cannot write the transcript to standard output: No space left on device\n"}, ">/dev/full"},
        {{"--dsn", dsn}, "select 1 as n",
         {3, "", "tarnwell-run: cannot read the script from standard input: Bad file descriptor\n"}, "<&-"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args) + c.redirection);
        EXPECT_EQ(Run(c.args, c.input, std::nullopt, c.redirection), c.expected);
    }
    EXPECT_EQ(Run({"--dsn", dsn}, "drop table st_marker").status, 1) << "first.sql ran";
}

// The stored preferences apply, options replace them for the run, and the
// settings file is neither created nor rewritten.
TEST_F(RunnerTest, StoredPreferencesApplyOptionsOverrideThemAndTheFileStaysAsItWas) {
    EXPECT_EQ(RunOn(Sqlite(), {}, "select 1 as n").status, 0);
    EXPECT_FALSE(fs::exists(Path("config/Tarnwell")));

    const std::string file = Path("config/Tarnwell/Tarnwell.conf");
    const std::string stored =
        "; edited by hand\n[Settings]\nEnableOutput=0\nMaxColLen=4\nSingleLineComment=#\nRemoveComments=1\n"
        "SpoolFile=stored-spool.txt\nEnableSpool=1\n[Recent File List]\nFile1=/tmp/x.sql\n";
    fs::create_directories(Path("config/Tarnwell"));
    WriteFile(file, stored);
    // A rewrite, even of the same bytes, or a replacement changes these.
    const auto stamp = [&] {
        struct stat info {};
        EXPECT_EQ(stat(file.c_str(), &info), 0);
        return std::tuple(info.st_ino, info.st_mtim.tv_sec, info.st_mtim.tv_nsec);
    };
    const auto before = stamp();

    const std::string script = "select 'abcdef' as letters # the comment is cut out ;\r\n";
    const struct { Args options; std::string out; bool spooled; } cases[] = {
        // The stored preferences: quiet, 3 columns wide, "#" comments removed, spooling on.
        {{}, "Executing...\r\nSQL> select 'abcdef' as letters \r\nlet \r\n--- \r\nabc \r\n1 row(s) fetched\r\n"
             "Script execution complete\r\n", true},
        {{"--output", "--max-col-len", "6", "--no-spool"},
         "SQL> select 'abcdef' as letters \r\nlette \r\n----- \r\nabcde \r\n1 row(s) fetched\r\n", false},
        // The kept comment reaches SQLite, which refuses "#".
        {{"--keep-comments", "--no-spool"},
         "Executing...\r\nSQL> " + script + "\r\nError: [SQLite]unrecognized token: \"#\" (1) SQLSTATE = S1000\r\n"
         "Script execution complete\r\n", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.options));
        fs::remove(Path("stored-spool.txt"));
        EXPECT_EQ(RunOn(Sqlite(), c.options, script).out, c.out);
        EXPECT_EQ(fs::exists(Path("stored-spool.txt")), c.spooled);
    }
    EXPECT_EQ(ReadFile(file), stored);
    EXPECT_EQ(stamp(), before);
}

// NULL text and elapsed times come from the stored settings or the option,
// which wins. A value cut to the column width never shows as NULL, even where
// its cut reads like the NULL text.
TEST_F(RunnerTest, NullTextAndTimingComeFromTheSettingsOrTheOption) {
    const std::string nulls = "select null as n, 'NULLS' as m", twice = "select 1 as n;select 1 as n";
    const std::string table = Literal(Echo(nulls) + "\r\nn    m    \r\n---- ---- \r\n");
    const std::string one = Literal(kOne), timed = one + "Elapsed: \\d+\\.\\d{3} s\r\n";
    const std::string cut = Literal("NULL NUL~ \r\n1 row(s) fetched\r\n");
    const struct { std::string stored; Args options; std::string script, out; } cases[] = {
        {"", {"--null", "NULL", "--max-col-len", "5"}, nulls, table + cut},
        {"NullText=NULL\n", {"--max-col-len", "5"}, nulls, table + cut},
        {"NullText=NULL\n", {"--null=", "--max-col-len", "5"}, nulls, table + Literal("     NULL \r\n1 row(s) fetched\r\n")},
        {"NullText=NULL\n", {"--format", "markdown", "--max-col-len", "5"}, nulls,
         Literal("| n | m |\r\n| --- | --- |\r\n| NULL | NULLS |\r\n")},
        {"", {}, twice, one + one}, {"", {"--timing"}, twice, timed + timed},
        {"ShowTiming=1\n", {}, twice, timed + timed}, {"ShowTiming=1\n", {"--no-timing"}, twice, one + one},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored + ::testing::PrintToString(c.options));
        StoreSettings(c.stored);
        const ChildResult result = RunOn(Sqlite(), c.options, c.script);
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_TRUE(std::regex_match(result.out, std::regex(c.out))) << result.out;
    }
}

// --history adds each script that runs to the worksheet's history under
// XDG_STATE_HOME, which keeps the newest HistoryLimit; without the option,
// or with a limit of 0, nothing is added.
TEST_F(RunnerTest, HistoryOptionAddsEachScriptToTheWorksheetsHistory) {
    WriteFile(Path("a.sql"), "select 1 as n");
    WriteFile(Path("b.sql"), "select 1 as n;select * from nosuch");
    const std::string store = Path("state/Tarnwell/history.sqlite");
    const std::vector<std::string> both = {"select 1 as n;select * from nosuch", "select 1 as n"};
    const struct { std::string stored; Args options; std::vector<std::string> newest; } cases[] = {
        {"", {"a.sql"}, {}},
        {"", {"--history", "a.sql", "b.sql"}, both},
        {"HistoryLimit=0\n", {"--history", "a.sql"}, both},
        {"HistoryLimit=1\n", {"--history", "a.sql"}, {"select 1 as n"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored + ::testing::PrintToString(c.options));
        StoreSettings(c.stored);
        EXPECT_FALSE(Has(RunOn(Sqlite(), c.options).err, "history"));
        EXPECT_EQ(fs::exists(store), !c.newest.empty());
        if (!fs::exists(store)) continue;
        std::vector<std::string> newest;
        for (const HistoryRecord& record : CHistoryStore(store, 100).Newest(100)) {
            EXPECT_EQ(record.dataSource, Sqlite().dsn);
            newest.push_back(record.script);
        }
        EXPECT_EQ(newest, c.newest);
    }
    const std::vector<HistoryRecord> last = CHistoryStore(store, 100).Newest(1);
    ASSERT_EQ(last.size(), 1u);
    EXPECT_EQ(std::pair(last[0].statements, last[0].failures), std::pair(1, 0));
}

// Polls the server, up to a generous deadline, until the first value of
// query is the one expected.
bool WaitForValue(CDbConnection& server, const std::string& query, const std::string& expected) {
    const auto deadline = std::chrono::steady_clock::now() + 30s;
    while (QueryValue(server, query) != expected) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

// Counts the other sessions that run statement.
std::string Running(const std::string& statement) {
    return "select count(*) from pg_stat_activity where state = 'active' and pid <> pg_backend_pid() and query = '" +
           statement + "'";
}

// A signal or a timeout during the second of three statements, in the first
// of two scripts: what ran, the echo, the stop line and nothing after it.
// A signal comes once the statement runs on the server.
TEST_F(RunnerTest, ASignalOrATimeoutCancelsTheStatementAndNothingAfterItRuns) {
    // signal 0: --timeout 1 instead; partial: what the statement may print
    // before the stop line (a regular expression).
    const struct { bool postgres; std::string statement; int signal, status; std::string partial = {}; } cases[] = {
        {false,
         "with recursive c(x) as (select 1 union all select x + 1 from c where x < 1000000000) "
         "select count(*) as n from c", 0, 1, "(n +\r\n-+ \r\n0 row\\(s\\) fetched\r\n)?"},
        {true, "select pg_sleep(60)", 0, 1},
        {true, "select pg_sleep(60) as nap_int", SIGINT, 130},
        {true, "select pg_sleep(60) as nap_term", SIGTERM, 143},
    };
    std::optional<CDbConnection> server;
    if (HavePostgres()) server.emplace().Connect(test_env::PgDsn(), test_env::PgUser(), test_env::PgPassword());
    WriteFile(Path("second.sql"), "select 3 as n");
    for (const auto& c : cases) {
        if (c.postgres && !server) continue;
        SCOPED_TRACE(c.statement);
        WriteFile(Path("first.sql"), "select 1 as n;" + c.statement + ";select 2 as n");
        Args args = {"first.sql", "second.sql"};
        if (c.signal == 0) args.insert(args.begin(), {"--timeout", "1"});
        const Child child = StartOn(c.postgres ? Postgres() : Sqlite(), args);
        if (c.signal != 0) {
            EXPECT_TRUE(WaitForValue(*server, Running(c.statement), "1"));
            kill(child.pid, c.signal);
        }
        const ChildResult result = FinishChild(child, 30s);
        EXPECT_EQ(std::pair(result.status, result.err), std::pair(c.status, ""s));
        const std::string stopLine = c.signal ? "Execution cancelled\r\n" : "Execution cancelled: timeout after 1 s\r\n";
        EXPECT_TRUE(std::regex_match(result.out, std::regex(Literal(kOne + Echo(c.statement) + "\r\n") + c.partial +
                                                            Literal(stopLine)))) << result.out;
    }
}

// A second SIGINT ends the program at once, though the statement goes on
// after the first: the function catches each cancel and counts it.
TEST_F(RunnerTest, ASecondInterruptEndsTheProgramAtOnce) {
    TARNWELL_REQUIRE_POSTGRES();
    CDbConnection server;
    server.Connect(test_env::PgDsn(), test_env::PgUser(), test_env::PgPassword());
    server.Execute("create sequence if not exists tw_cancels");
    server.Execute("select setval('tw_cancels', 1, false)");
    server.Execute("create or replace function tw_stubborn_nap() returns void language plpgsql as '"
                   "begin for i in 1..120 loop begin perform pg_sleep(1); "
                   "exception when query_canceled then perform nextval(''tw_cancels''); end; end loop; end'");
    const std::string statement = "select tw_stubborn_nap()";
    const Child child = StartOn(Postgres(), {}, statement);
    ASSERT_TRUE(WaitForValue(server, Running(statement), "1"));
    kill(child.pid, SIGINT);
    EXPECT_TRUE(WaitForValue(server, "select count(*) from tw_cancels where is_called", "1"));
    kill(child.pid, SIGINT);
    EXPECT_EQ(FinishChild(child, 30s).status, 130);
    // The session outlives the program; it must not be taken for the next one's.
    server.Execute("select pg_terminate_backend(pid) from pg_stat_activity where query = '" + statement + "'");
    EXPECT_TRUE(WaitForValue(server, Running(statement), "0"));
}

// --list-dsn lists each data source once; --connect runs on a connection
// string; --doctor connects, reports, and tells by its status whether it could.
TEST_F(RunnerTest, ListDataSourcesConnectionStringsAndTheDoctor) {
    const std::string dsn = test_env::SqliteDsn();
    const ChildResult list = Run({"--list-dsn"});
    EXPECT_EQ(list.status, 0);
    EXPECT_EQ(list.out.find(dsn + "\tSQLite3\tuser\n"), 0u) << list.out;
    EXPECT_EQ(list.out.find(dsn + "\t", 1), std::string::npos) << "listed twice: " << list.out;

    // out: how standard output starts
    const struct { Args args; int status; std::string out; } cases[] = {
        {{"--connect", "DSN=" + dsn + ";PWD=secret"}, 0, kOne},
        {{"--doctor", dsn}, 0, "Connected to " + dsn + ".\nThe driver manager reads"},
        {{"--connect=DSN=" + dsn + ";PWD=secret", "--doctor"}, 0, "Connected to DSN=" + dsn + ";.\n"},
        {{"--doctor", "TestSQLit"}, 2, "Cannot connect to TestSQLit:\nError: [unixODBC][Driver Manager]Data source name not found"},
        {{"--doctor"}, 2, "No data source was named.\nThe driver manager reads"},
        {{"--connect", dsn}, 2, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        const ChildResult result = Run(c.args, "select 1 as n", "");
        EXPECT_EQ(result.status, c.status) << result.err;
        EXPECT_EQ(result.out.substr(0, c.out.size()), c.out);
        EXPECT_FALSE(Has(result.out, "secret"));
    }
    EXPECT_TRUE(Has(Run({"--doctor", "TestSQLit"}).out, "Did you mean " + dsn + "?\n"));
}

TEST_F(RunnerTest, LinksNoWindowLibrary) {
    const std::string libraries = FinishChild(StartChild({"ldd", TARNWELL_RUN_PATH}, "")).out;
    EXPECT_TRUE(Has(libraries, "libodbc")) << libraries;
    for (const char* gui : {"libwx_gtk", "libgtk", "libgdk", "libX11", "libwx_baseu_net"})
        EXPECT_FALSE(Has(libraries, gui)) << gui << " in\n" << libraries;
}

}  // namespace
