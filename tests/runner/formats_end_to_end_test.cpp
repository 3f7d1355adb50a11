// tarnwell-run's data formats, NULL text and golden transcripts end to end,
// on SQLite and PostgreSQL: the program as a child process with a settings
// folder of its own, checked by exit status, standard output, standard error
// and the expected-transcript file.
#include "support/test_env.h"
#include "support/transcript.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <regex>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

using Args = std::vector<std::string>;
using test_env::ReadFile;
using test_env::WriteFile;
using namespace transcript;

struct DataSource {
    std::string dsn, user, password;
};

struct Outcome {
    int status;   // -1 when the program did not exit normally
    std::string out, err;
};

class FormatsTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = test_env::TempDir() + "/formats-" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::filesystem::create_directories(m_dir + "/config/Tarnwell");
    }

    std::string Path(const std::string& name) const { return m_dir + "/" + name; }
    void StoreSettings(const std::string& lines) const {
        WriteFile(Path("config/Tarnwell/Tarnwell.conf"), "[Settings]\n" + lines);
    }

    // tarnwell-run on source with args, the script on standard input, the
    // settings folder of this test and the source's password.
    Outcome Run(const DataSource& source, Args args, const std::string& script) const {
        args.insert(args.begin(), {TARNWELL_RUN_PATH, "--dsn", source.dsn, "--user", source.user});
        std::vector<std::string> environment = {"XDG_CONFIG_HOME=" + Path("config"),
                                                "TARNWELL_PASSWORD=" + source.password};
        for (char** variable = environ; *variable != nullptr; ++variable)
            if (!std::string_view(*variable).starts_with("XDG_CONFIG_HOME=") &&
                !std::string_view(*variable).starts_with("TARNWELL_PASSWORD="))
                environment.emplace_back(*variable);
        WriteFile(Path("in"), script);
        posix_spawn_file_actions_t files;
        posix_spawn_file_actions_init(&files);
        posix_spawn_file_actions_addopen(&files, 0, Path("in").c_str(), O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&files, 1, Path("out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addopen(&files, 2, Path("err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        pid_t pid = -1;
        const int spawned = posix_spawn(&pid, TARNWELL_RUN_PATH, &files, nullptr, Pointers(args).data(),
                                        Pointers(environment).data());
        posix_spawn_file_actions_destroy(&files);
        EXPECT_EQ(spawned, 0) << std::strerror(spawned);
        int status = 0;
        if (spawned != 0 || waitpid(pid, &status, 0) != pid) return {-1, "", ""};
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(Path("out")), ReadFile(Path("err"))};
    }

private:
    static std::vector<char*> Pointers(std::vector<std::string>& words) {
        std::vector<char*> pointers;
        for (std::string& word : words) pointers.push_back(word.data());
        pointers.push_back(nullptr);
        return pointers;
    }

    std::string m_dir;
};

std::vector<DataSource> Sources() {
    std::vector<DataSource> sources = {{test_env::SqliteDsn(), "", ""}};
    if (test_env::HavePostgres())
        sources.push_back({test_env::PgDsn(), test_env::PgUser(), test_env::PgPassword()});
    else if (test_env::PostgresRequired())
        ADD_FAILURE() << "no PostgreSQL server";
    return sources;
}

bool IsPostgres(const DataSource& source) { return source.dsn == test_env::PgDsn(); }

// A result with every column type of the demo schema (INTEGER, VARCHAR,
// DATE, DECIMAL), hostile text and NULLs, and a failing statement after it.
const std::string kCreate =
    "create table tw_fmt (id integer, name varchar(40), hired date, salary decimal(9,2), note varchar(300))";
const std::string kFill =
    "insert into tw_fmt values (1, 'Zo\xC3\xAB \"Z\", | F', '2017-02-20', 63400.5, 'line\r\nbreak\ttab\\'), "
    "(2, '', null, null, null)";
const std::string kSelect = "select id, name, hired, salary, note from tw_fmt order by id";
const std::string kFailing = "select * from tw_fmt_missing";
const std::string kDrop = "drop table tw_fmt";
const std::string kScript = kCreate + ";\n" + kFill + ";\n" + kSelect + ";\n" + kFailing + ";\n" + kDrop + ";\n";

// The transcript on standard error, up to the error's text.
std::string TranscriptBeforeTheError() {
    return Ok(kCreate) + Ok(kFill) + Echo(kSelect) + "\r\n2 row(s) fetched\r\n" + Echo(kFailing) + "\r\nError: ";
}

TEST_F(FormatsTest, EveryFormatOfTheDemoTypesWithTheTranscriptOnStandardError) {
    for (const DataSource& source : Sources()) {
        SCOPED_TRACE(source.dsn);
        // SQLite gives the DECIMAL column as text of the stored REAL.
        const bool pg = IsPostgres(source);
        const std::string salary = pg ? "63400.50" : "63400.5";
        const std::string jsonSalary = pg ? salary : "\"" + salary + "\"";
        const std::string salaryAlign = pg ? " ---: |" : " --- |";
        const struct {
            std::string format;
            std::string out;
        } cases[] = {
            {"csv", "id,name,hired,salary,note\r\n1,\"Zo\xC3\xAB \"\"Z\"\", | F\",2017-02-20," + salary +
                        ",\"line\r\nbreak\ttab\\\"\r\n2,\"\",,,\r\n"},
            {"tsv", "id\tname\thired\tsalary\tnote\r\n1\tZo\xC3\xAB \"Z\", | F\t2017-02-20\t" + salary +
                        "\tline\\r\\nbreak\\ttab\\\\\r\n2\t\t\\N\t\\N\t\\N\r\n"},
            {"json", "{\"statement\": \"" + kSelect + "\", \"columns\": [\"id\", \"name\", \"hired\", \"salary\", "
                     "\"note\"], \"rows\": [[1, \"Zo\xC3\xAB \\\"Z\\\", | F\", \"2017-02-20\", " + jsonSalary +
                     ", \"line\\r\\nbreak\\ttab\\\\\"], [2, \"\", null, null, null]]}\r\n"},
            {"markdown", "| id | name | hired | salary | note |\r\n| ---: | --- | --- |" + salaryAlign + " --- |\r\n"
                         "| 1 | Zo\xC3\xAB \"Z\", \\| F | 2017-02-20 | " + salary + " | line<br>break\ttab\\\\ |\r\n"
                         "| 2 |  |  |  |  |\r\n"},
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(c.format);
            const Outcome outcome = Run(source, {"--format", c.format}, kScript);
            EXPECT_EQ(outcome.status, 1);
            EXPECT_EQ(outcome.out, c.out);
            EXPECT_TRUE(outcome.err.starts_with(TranscriptBeforeTheError()) && outcome.err.ends_with(Ok(kDrop)))
                << outcome.err;
        }
        // Names and values come whole, however long (PostgreSQL keeps 63
        // bytes of a name).
        const std::string name(pg ? 63 : 300, 'a'), value(5000, 'v');
        EXPECT_EQ(Run(source, {"--format", "csv"}, "select '" + value + "' as " + name).out,
                  name + "\r\n" + value + "\r\n");
    }
}

// NULL shows as the NULL text of the option or the settings; a value cut to
// the column width does not, even where its cut reads like the NULL text.
TEST_F(FormatsTest, NullTextFromTheOptionOrTheSettings) {
    const std::string query = "select null as n, 'NULLS' as m";
    const std::string table = Echo(query) + "\r\nn    m    \r\n---- ---- \r\n";
    const struct {
        std::string stored;
        Args options;
        std::string out;
    } cases[] = {
        {"", {"--null", "NULL"}, table + "NULL NUL~ \r\n1 row(s) fetched\r\n"},
        {"NullText=NULL\n", {}, table + "NULL NUL~ \r\n1 row(s) fetched\r\n"},
        {"NullText=NULL\n", {"--null="}, table + "     NULL \r\n1 row(s) fetched\r\n"},
        {"NullText=NULL\n", {"--format", "markdown"}, "| n | m |\r\n| --- | --- |\r\n| NULL | NULLS |\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored + ::testing::PrintToString(c.options));
        StoreSettings(c.stored);
        Args args = c.options;
        args.insert(args.end(), {"--max-col-len", "5"});
        const Outcome outcome = Run(Sources()[0], args, query);
        EXPECT_EQ(outcome.status, 0) << outcome.err;
        EXPECT_EQ(outcome.out, c.out);
    }
}

// A golden transcript: written, then passing (the times left out of it),
// then failing with a diff and 4; in the table format and a data format.
TEST_F(FormatsTest, ExpectedTranscriptsPassFailAndUpdate) {
    const std::string golden = Path("golden.txt");
    const std::string diffHead = "--- " + golden + "\n+++ (this run)\n";
    const std::string differs = "tarnwell-run: the transcript differs from '" + golden + "'\n";
    for (const DataSource& source : Sources()) {
        SCOPED_TRACE(source.dsn);
        const struct {
            Args options;
            std::string script;
            int status;
            std::string file;  // the golden file afterwards
            std::string err;   // a regular expression
        } steps[] = {
            {{"--update-expect", "--timing"}, "select 1 as n", 0, OneValue("select 1 as n", "n", "1"), ""},
            {{"--timing", "--spool", Path("spool.txt")}, "select 1 as n", 0, OneValue("select 1 as n", "n", "1"), ""},
            {{}, "select 2 as n", 4, OneValue("select 1 as n", "n", "1"),
             Literal(diffHead + "@@ -1,5 +1,5 @@\n-SQL> select 1 as n\r\n+SQL> select 2 as n\r\n n          \r\n"
                     " ---------- \r\n-1          \r\n+2          \r\n 1 row(s) fetched\r\n" + differs)},
            {{"--format", "csv", "--lf", "--update-expect"}, "select 1 as n", 0, "n\n1\n",
             Literal(Echo("select 1 as n") + "\n1 row(s) fetched\n")},
            {{"--format", "csv", "--lf"}, "select 1 as n;select * from tw_missing", 1, "n\n1\n", "[\\s\\S]*Error: [\\s\\S]*"},
            {{"--format", "csv", "--lf"}, "select 1 as m", 4, "n\n1\n",
             "[^-]*" + Literal(diffHead + "@@ -1,2 +1,2 @@\n-n\n+m\n 1\n" + differs)},
        };
        std::filesystem::remove(golden);
        for (const auto& step : steps) {
            SCOPED_TRACE(::testing::PrintToString(step.options) + " " + step.script);
            Args args = {"--expect", golden};
            args.insert(args.end(), step.options.begin(), step.options.end());
            const Outcome outcome = Run(source, args, step.script);
            EXPECT_EQ(outcome.status, step.status);
            EXPECT_EQ(ReadFile(golden), step.file);
            EXPECT_TRUE(std::regex_match(outcome.err, std::regex(step.err))) << outcome.err;
            if (step.options.size() > 0 && step.options[0] == "--timing") {
                EXPECT_TRUE(outcome.out.find("Elapsed: ") != std::string::npos) << outcome.out;
            }
        }
    }
}

TEST_F(FormatsTest, UsageAndUnreadableExpectedTranscript) {
    const std::string usage = " (see tarnwell-run --help)\n";
    const struct {
        Args options;
        int status;
        std::string err;
    } cases[] = {
        {{"--format", "xml"}, 2,
         "tarnwell-run: option '--format' must be table, csv, tsv, json or markdown, not 'xml'" + usage},
        {{"--update-expect"}, 2, "tarnwell-run: option '--update-expect' needs --expect FILE, the file to write" + usage},
        {{"--expect", Path("missing.txt")}, 3,
         "tarnwell-run: cannot read the expected transcript '" + Path("missing.txt") + "': No such file or directory\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.options));
        const Outcome outcome = Run(Sources()[0], c.options, "select 1");
        EXPECT_EQ(outcome.status, c.status);
        EXPECT_EQ(outcome.out, "");
        EXPECT_EQ(outcome.err, c.err);
    }
}

}  // namespace
