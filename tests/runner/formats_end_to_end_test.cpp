// tarnwell-run's data formats and expected transcripts end to end, on SQLite
// and PostgreSQL. (Their usage errors: run_options_test; an unreadable
// expected transcript and the NULL text: runner_end_to_end_test.)
#include "runner_fixture.h"
#include "support/transcript.h"

#include <algorithm>
#include <regex>

namespace {

using test_env::ReadFile;
using namespace transcript;

class FormatsTest : public RunnerTest {};

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
        const bool pg = source.dsn == test_env::PgDsn();
        const std::string salary = pg ? "63400.50" : "63400.5";
        const std::string jsonSalary = pg ? salary : "\"" + salary + "\"";
        const std::string salaryAlign = pg ? " ---: |" : " --- |";
        const struct { std::string format; std::string out; } cases[] = {
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
            const ChildResult outcome = RunOn(source, {"--format", c.format}, kScript);
            EXPECT_EQ(std::pair(outcome.status, outcome.out), std::pair(1, c.out));
            EXPECT_TRUE(outcome.err.starts_with(TranscriptBeforeTheError()) && outcome.err.ends_with(Ok(kDrop)))
                << outcome.err;
        }
        // Names and values come whole, however long (PostgreSQL keeps 63
        // bytes of a name).
        const std::string name(pg ? 63 : 300, 'a'), value(5000, 'v');
        EXPECT_EQ(RunOn(source, {"--format", "csv"}, "select '" + value + "' as " + name).out,
                  name + "\r\n" + value + "\r\n");
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
        // file: the golden file afterwards; err: a regular expression
        const struct { Args options; std::string script; int status; std::string file, err; } steps[] = {
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
            const ChildResult outcome = RunOn(source, args, step.script);
            EXPECT_EQ(std::pair(outcome.status, ReadFile(golden)), std::pair(step.status, step.file));
            EXPECT_TRUE(std::regex_match(outcome.err, std::regex(step.err))) << outcome.err;
            const bool timing = std::ranges::find(step.options, "--timing") != step.options.end();
            EXPECT_EQ(outcome.out.find("Elapsed: ") != std::string::npos, timing) << outcome.out;
        }
    }
}

}  // namespace
