// tarnwell-run as its users run it: a child process with files, standard
// input, environment and a settings folder of its own, checked by exit status,
// standard output, standard error, the spool file and the settings file.
#include "child_process.h"

#include "db/db_connection.h"
#include "exec/history_list.h"
#include "exec/recording_sink.h"
#include "exec/script_runner.h"
#include "exec/text_statement_source.h"
#include "runner/console_run_host.h"
#include "settings/profile_store.h"
#include "settings/settings_record.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string Slurp(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string WriteFile(const std::string& path, const std::string& bytes) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

std::string ToLf(std::string text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        out += text[i];
    }
    return out;
}

// A profile store that holds nothing: every read gives the default, as a
// first start does.
class EmptyProfileStore : public CProfileStore {
public:
    int GetProfileInt(const std::string&, const std::string&, int value) override { return value; }
    std::string GetProfileString(const std::string&, const std::string&, const std::string& value) override {
        return value;
    }
    void WriteProfileInt(const std::string&, const std::string&, int) override {}
    void WriteProfileString(const std::string&, const std::string&, const std::string&) override {}
};

class RunnerTest : public ::testing::Test {
protected:
    // Each test gets a folder of its own, also used as the child's settings
    // folder (XDG_CONFIG_HOME), so settings never leak between tests.
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_dir = test_env::TempDir() + "/" + info->test_suite_name() + "." + info->name();
        fs::create_directories(m_dir + "/config");
    }

    std::string Path(const std::string& name) const { return m_dir + "/" + name; }
    std::string SettingsFile() const { return m_dir + "/config/Tarnwell/Tarnwell.conf"; }

    ChildResult Run(const std::vector<std::string>& args, const std::string& input = {}, EnvChanges env = {}) {
        EnvChanges all = {{"XDG_CONFIG_HOME", m_dir + "/config"}, {"TARNWELL_PASSWORD", std::nullopt}};
        all.insert(all.end(), env.begin(), env.end());
        return RunChild(TARNWELL_RUN_PATH, args, input, all, m_dir);
    }

    // The transcript the worksheet's engine writes for script, in this
    // process, into an 80-column output with the default settings.
    static std::string EngineTranscript(const std::string& dsn, const std::string& user, const std::string& password,
                                        const std::string& script) {
        CSettingsRecord settings;
        EmptyProfileStore store;
        settings.Load(store);
        CDbConnection connection;
        connection.Connect(dsn, user, password);
        CHistoryList history;
        CRecordingSink output(80);
        CConsoleRunHost host;
        CScriptRunner runner(connection, history, output, host);
        CTextStatementSource source(script, CommentSyntax{});
        runner.Run(source, settings);
        return output.Text();
    }

    std::string m_dir;
};

const std::string kLongName(120, 'x');

// Exercises every part of a transcript: "ok", a table with NULL, a cut value
// and a column of unknown width, an error long enough to wrap at 80 columns,
// comments, and a statement after the error.
std::string ComparisonScript(const std::string& table) {
    return "create table " + table + " (id integer, name varchar(5), note varchar(300));\r\n"
           "insert into " + table + " values (1, 'abc', 'short');\r\n"
           "insert into " + table + " values (2, null, '" + std::string(150, 'n') + "');\r\n"
           "-- a comment before the query;\r\n"
           "select id, name, note from " + table + " order by id;\r\n"
           "select * from " + table + "_" + kLongName + ";\r\n"
           "select count(*) from " + table + ";\r\n"
           "/* the end */ drop table " + table + ";\r\n";
}

TEST_F(RunnerTest, TranscriptEqualsTheWorksheetEnginesOnSqlite) {
    const std::string script = ComparisonScript("cmp_sqlite");
    const std::string expected = EngineTranscript(test_env::SqliteDsn(), "", "", script);
    ASSERT_NE(expected.find("SQLSTATE"), std::string::npos);
    ASSERT_NE(expected.find("row(s) fetched"), std::string::npos);

    WriteFile(Path("cmp.sql"), script);
    const ChildResult fromFile = Run({"--dsn", test_env::SqliteDsn(), "cmp.sql"});
    EXPECT_EQ(fromFile.status, 1);  // the select from a missing table failed
    EXPECT_EQ(fromFile.out, expected);
    EXPECT_EQ(fromFile.err, "");

    const ChildResult fromStdin = Run({"--dsn", test_env::SqliteDsn()}, script);
    EXPECT_EQ(fromStdin.out, expected);

    const ChildResult lf = Run({"--dsn", test_env::SqliteDsn(), "--lf", "-"}, script);
    EXPECT_EQ(lf.out, ToLf(expected));
    EXPECT_EQ(lf.out.find('\r'), std::string::npos);
}

TEST_F(RunnerTest, TranscriptEqualsTheWorksheetEnginesOnPostgres) {
    TARNWELL_REQUIRE_POSTGRES();
    const std::string script = ComparisonScript("tarnwell_runner_cmp_pg");
    const std::string expected =
        EngineTranscript(test_env::PgDsn(), test_env::PgUser(), test_env::PgPassword(), script);
    ASSERT_NE(expected.find("row(s) fetched"), std::string::npos);

    const ChildResult result = Run({"--dsn", test_env::PgDsn(), "--user", test_env::PgUser()}, script,
                                   {{"TARNWELL_PASSWORD", test_env::PgPassword()}});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, expected);
    EXPECT_EQ(result.err, "");
}

TEST_F(RunnerTest, ThePasswordComesFromTheEnvironmentOrIsEmptyWithoutATerminal) {
    TARNWELL_REQUIRE_POSTGRES();
    const std::vector<std::string> args = {"--dsn", test_env::PgDsn(), "--user", test_env::PgUser()};
    struct Case {
        std::optional<std::string> password;
        bool scriptFromFile;
        int status;
    };
    WriteFile(Path("one.sql"), "select 1");
    const std::vector<Case> cases = {
        {test_env::PgPassword(), false, 0},
        {test_env::PgPassword(), true, 0},
        {"wrong" + test_env::PgPassword(), false, 2},
        // Unset and no terminal: no prompt (the run would hang), an empty
        // password, which the server refuses.
        {std::nullopt, false, 2},
        {std::nullopt, true, 2},
    };
    for (const Case& c : cases) {
        std::vector<std::string> caseArgs = args;
        if (c.scriptFromFile) caseArgs.push_back("one.sql");
        const ChildResult result = Run(caseArgs, c.scriptFromFile ? "" : "select 1", {{"TARNWELL_PASSWORD", c.password}});
        const std::string label = c.password.value_or("(unset)") + (c.scriptFromFile ? " file" : " stdin");
        EXPECT_EQ(result.status, c.status) << label << "\n" << result.err;
        EXPECT_EQ(result.err.find("Password"), std::string::npos) << label;
        if (c.status == 0) {
            EXPECT_NE(result.out.find("1 row(s) fetched\r\n"), std::string::npos) << label;
        } else {
            EXPECT_EQ(result.out, "") << label;
            EXPECT_TRUE(result.err.starts_with("tarnwell-run: cannot connect to '" + test_env::PgDsn() + "': Error: "))
                << result.err;
            EXPECT_EQ(result.err.find('\r'), std::string::npos);
            EXPECT_EQ(result.err.find('\n'), result.err.size() - 1);
        }
    }
}

struct StatusCase {
    std::string name;
    std::vector<std::string> args;  // after --dsn TestSQLite unless the first is "!"
    std::string input;
    int status;
    std::vector<std::string> outHas;
    std::vector<std::string> outLacks;
    std::string err;  // exact standard error
};

TEST_F(RunnerTest, ExitStatusesAndMessages) {
    const std::string dsn = test_env::SqliteDsn();
    WriteFile(Path("good.sql"), "create table st_marker (n integer);\r\ninsert into st_marker values (7)");
    WriteFile(Path("second.sql"), "select n from st_marker;drop table st_marker");
    fs::create_directories(Path("folder.sql"));
    const std::string usage = " (see tarnwell-run --help)\n";
    const std::vector<StatusCase> cases = {
        {"success", {}, "select 1 as n", 0, {"SQL> select 1 as n\r\n", "1 row(s) fetched\r\n"}, {}, ""},
        {"empty input", {}, "", 0, {}, {"SQL>"}, ""},
        {"failure goes on", {}, "select * from nowhere;select 2 as two", 1, {"SQLSTATE", "SQL> select 2 as two"}, {}, ""},
        {"stop on error", {"--stop-on-error"}, "select * from nowhere;select 2 as two", 1, {"SQLSTATE"},
         {"select 2"}, ""},
        {"quiet", {"--quiet"}, "create table q (n integer);drop table q", 0,
         {"Executing...\r\nScript execution complete\r\n"}, {"SQL>", "ok"}, ""},
        {"two files, in order", {"good.sql", "second.sql"}, "", 0,
         {"SQL> insert into st_marker values (7)\r\nok\r\nSQL> select n from st_marker\r\n"}, {}, ""},
        {"standard input between files", {"good.sql", "-", "second.sql"}, "insert into st_marker values (8)", 0,
         {"values (7)\r\nok\r\nSQL> insert into st_marker values (8)\r\nok\r\nSQL> select n", "2 row(s) fetched"}, {},
         ""},
        {"unknown option", {"--bogus"}, "", 2, {}, {"SQL>"}, "tarnwell-run: unknown option '--bogus'" + usage},
        {"missing dsn", {"!", "good.sql"}, "", 2, {}, {"SQL>"},
         "tarnwell-run: missing --dsn NAME, the data source to connect to" + usage},
        {"missing value", {"--spool"}, "", 2, {}, {}, "tarnwell-run: option '--spool' needs a value" + usage},
        {"bad width", {"--width", "wide"}, "", 2, {}, {},
         "tarnwell-run: option '--width' needs a whole number, not 'wide'" + usage},
        {"width out of range", {"--max-col-len=0"}, "", 2, {}, {},
         "tarnwell-run: option '--max-col-len' must be between 1 and 1000, not 0" + usage},
        {"missing file, nothing runs", {"good.sql", "missing.sql"}, "", 3, {}, {"SQL>"},
         "tarnwell-run: cannot read script file 'missing.sql': No such file or directory\n"},
        {"directory as file", {"folder.sql"}, "", 3, {}, {},
         "tarnwell-run: cannot read script file 'folder.sql': Is a directory\n"},
        {"help", {"!", "--help"}, "", 0, {"Usage: tarnwell-run --dsn NAME", "TARNWELL_PASSWORD"}, {}, ""},
        {"version", {"!", "--version"}, "", 0, {"tarnwell-run 0.6.1\n"}, {}, ""},
    };
    for (const StatusCase& c : cases) {
        std::vector<std::string> args = c.args;
        if (!args.empty() && args.front() == "!")
            args.erase(args.begin());
        else
            args.insert(args.begin(), {"--dsn", dsn});
        const ChildResult result = Run(args, c.input);
        EXPECT_EQ(result.status, c.status) << c.name << "\n" << result.err;
        EXPECT_EQ(result.err, c.err) << c.name;
        for (const std::string& text : c.outHas) EXPECT_NE(result.out.find(text), std::string::npos) << c.name << ": " << text << "\n" << result.out;
        for (const std::string& text : c.outLacks) EXPECT_EQ(result.out.find(text), std::string::npos) << c.name << ": " << text;
        if (c.status >= 2) {
            EXPECT_EQ(result.out, "") << c.name;
        }
    }
    // The unreadable second file stopped the first from running too.
    const ChildResult check = Run({"--dsn", dsn}, "select n from st_marker");
    EXPECT_EQ(check.status, 1) << check.out;
}

TEST_F(RunnerTest, AFailedConnectIsOneLineOnStandardError) {
    const ChildResult result = Run({"--dsn", "NoSuchSource", "--user", "u"}, "select 1");
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_TRUE(result.err.starts_with("tarnwell-run: cannot connect to 'NoSuchSource': Error: ")) << result.err;
    EXPECT_NE(result.err.find(" SQLSTATE = IM002\n"), std::string::npos) << result.err;
    EXPECT_EQ(result.err.find('\r'), std::string::npos);
    EXPECT_EQ(result.err.find('\n'), result.err.size() - 1);
}

TEST_F(RunnerTest, TheSpoolFileKeepsCrlfAndEqualsThePane) {
    const std::string script = "select 1 as one;\r\nselect * from nowhere;\r\nselect 'x' as x";
    struct Case {
        std::string option;
        bool lf;
        bool quiet;
    };
    for (const Case& c : std::vector<Case>{{"--output", false, false}, {"--lf", true, false}, {"--quiet", false, true}}) {
        const std::string spool = Path("spool.txt");
        fs::remove(spool);
        const std::vector<std::string> args = {"--dsn", test_env::SqliteDsn(), "--spool", spool, c.option};
        const ChildResult first = Run(args, script);
        const ChildResult second = Run(args, script);
        EXPECT_EQ(first.status, 1);
        EXPECT_EQ(second.out, first.out);
        std::string pane = first.out;
        if (c.quiet) {
            // The closing line reaches the pane only: the spool file is closed by then.
            const std::string closing = "Script execution complete\r\n";
            ASSERT_TRUE(pane.ends_with(closing)) << pane;
            pane.resize(pane.size() - closing.size());
        }
        // Two runs append to the file, which has CRLF line ends whatever
        // standard output has.
        const std::string spooled = Slurp(spool);
        if (c.lf) {
            EXPECT_EQ(ToLf(spooled), pane + pane);
            EXPECT_EQ(std::count(spooled.begin(), spooled.end(), '\n'), std::count(spooled.begin(), spooled.end(), '\r'));
        } else {
            EXPECT_EQ(spooled, pane + pane) << c.option;
        }
    }
}

TEST_F(RunnerTest, AnUnwritableSpoolFileIsReportedAndTheRunGoesOn) {
    const ChildResult result = Run({"--dsn", test_env::SqliteDsn(), "--spool", "no/such/folder/spool.txt"}, "select 1 as n");
    EXPECT_EQ(result.status, 0);
    EXPECT_NE(result.out.find("1 row(s) fetched"), std::string::npos);
    EXPECT_EQ(result.err,
              "tarnwell-run: cannot open the spool file 'no/such/folder/spool.txt': No such file or directory "
              "(the run goes on without it)\n");
}

TEST_F(RunnerTest, StoredPreferencesApplyOptionsOverrideThemAndTheFileStaysAsItWas) {
    // No settings file: none is created.
    ASSERT_FALSE(fs::exists(SettingsFile()));
    EXPECT_EQ(Run({"--dsn", test_env::SqliteDsn()}, "select 1 as n").status, 0);
    EXPECT_FALSE(fs::exists(SettingsFile()));
    EXPECT_FALSE(fs::exists(m_dir + "/config/Tarnwell"));

    const std::string stored =
        "; edited by hand\n[Settings]\nEnableOutput=0\nMaxColLen=4\nSingleLineComment=#\nRemoveComments=1\n"
        "SpoolFile=stored-spool.txt\nEnableSpool=1\n[Recent File List]\nFile1=/tmp/x.sql\n";
    WriteFile(SettingsFile(), stored);
    chmod(SettingsFile().c_str(), 0640);
    struct stat before {};
    ASSERT_EQ(stat(SettingsFile().c_str(), &before), 0);

    const std::string script = "select 'abcdef' as letters # the comment is cut out ;\r\n";
    struct Case {
        std::vector<std::string> options;
        std::string out;  // the whole output, or its start when !whole
        bool whole;
        bool spooled;
    };
    const std::vector<Case> cases = {
        // The stored preferences: quiet, 3 columns wide, "#" comments removed, spooling on.
        {{}, "Executing...\r\nSQL> select 'abcdef' as letters \r\nlet \r\n--- \r\nabc \r\n1 row(s) fetched\r\n"
             "Script execution complete\r\n", true, true},
        {{"--output", "--max-col-len", "6", "--no-spool"},
         "SQL> select 'abcdef' as letters \r\nlette \r\n----- \r\nabcde \r\n1 row(s) fetched\r\n", true, false},
        // The kept comment reaches SQLite, which refuses "#".
        {{"--keep-comments", "--no-spool"},
         "Executing...\r\nSQL> select 'abcdef' as letters # the comment is cut out ;\r\n\r\nError: ", false, false},
    };
    for (const Case& c : cases) {
        fs::remove(Path("stored-spool.txt"));
        std::vector<std::string> args = {"--dsn", test_env::SqliteDsn()};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const ChildResult result = Run(args, script);
        const std::string label = ::testing::PrintToString(c.options);
        if (c.whole) {
            EXPECT_EQ(result.out, c.out) << label;
        } else {
            EXPECT_TRUE(result.out.starts_with(c.out)) << label << "\n" << result.out;
        }
        EXPECT_EQ(fs::exists(Path("stored-spool.txt")), c.spooled) << label;
    }

    struct stat after {};
    ASSERT_EQ(stat(SettingsFile().c_str(), &after), 0);
    EXPECT_EQ(Slurp(SettingsFile()), stored);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
    EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
}

TEST_F(RunnerTest, BrokenStandardStreamsAreReportedNotIgnored) {
    struct Case {
        std::string redirection;
        int status;
        std::string err;
    };
    const std::vector<Case> cases = {
        {">/dev/full", 1, "tarnwell-run: cannot write the transcript to standard output: No space left on device\n"},
        // A closed standard output must not become the spool file or the database.
        {">&- --spool spool.txt", 1, "tarnwell-run: cannot write the transcript to standard output: Bad file descriptor\n"},
        {"<&-", 3, "tarnwell-run: cannot read the script from standard input: Bad file descriptor\n"},
    };
    for (const Case& c : cases) {
        if (c.redirection.find("/dev/full") != std::string::npos && !fs::exists("/dev/full")) continue;
        fs::remove(Path("spool.txt"));
        const std::string command =
            std::string("exec '") + TARNWELL_RUN_PATH + "' --dsn " + test_env::SqliteDsn() + " " + c.redirection;
        const ChildResult result = RunChild("/bin/sh", {"-c", command}, "select 1 as n",
                                            {{"XDG_CONFIG_HOME", m_dir + "/config"}}, m_dir);
        EXPECT_EQ(result.status, c.status) << c.redirection;
        EXPECT_EQ(result.err, c.err) << c.redirection;
        if (fs::exists(Path("spool.txt"))) {
            const std::string spooled = Slurp(Path("spool.txt"));
            EXPECT_EQ(std::count(spooled.begin(), spooled.end(), 'S'), 1) << "the transcript went in twice:\n" << spooled;
        }
    }
}

TEST_F(RunnerTest, LinksNoWindowLibrary) {
    std::unique_ptr<FILE, int (*)(FILE*)> ldd(popen((std::string("ldd '") + TARNWELL_RUN_PATH + "' 2>&1").c_str(), "r"),
                                              pclose);
    ASSERT_TRUE(ldd);
    std::string libraries;
    char block[4096];
    std::size_t got;
    while ((got = fread(block, 1, sizeof block, ldd.get())) > 0) libraries.append(block, got);
    EXPECT_NE(libraries.find("libodbc"), std::string::npos) << libraries;
    for (const char* gui : {"libwx_gtk", "libgtk", "libgdk", "libX11", "libwx_baseu_net"})
        EXPECT_EQ(libraries.find(gui), std::string::npos) << gui << " in\n" << libraries;
}

}  // namespace
