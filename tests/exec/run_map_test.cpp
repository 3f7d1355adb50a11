// The run map: statements that follow the edits of the script, the output
// that leads back to them, the failures walked in order; and the spot an
// error names.
#include "exec/error_position.h"
#include "exec/run_map.h"
#include "run_fixture.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Outcome = CRunMap::Outcome;

// Three statements: at 10..20 (ok), 30..40 (failed), 50..60 (failed), with
// their output at 0..100, 100..180 and 180..260.
CRunMap ThreeStatements() {
    CRunMap map;
    map.Add({10, 20, 0, 100, Outcome::Succeeded, "", false});
    map.Add({30, 40, 100, 180, Outcome::Failed, "Error: one", false});
    map.Add({50, 60, 180, 260, Outcome::Failed, "Error: two", false});
    return map;
}

// Where the statements stand after an edit, and which are edited ("e").
std::string Positions(const CRunMap& map) {
    std::string text;
    for (const auto& s : map.Statements())
        text += std::to_string(s.scriptBegin) + "-" + std::to_string(s.scriptEnd) + (s.edited ? "e " : " ");
    return text;
}

// An insert or a delete of length bytes at position: where the statements stand afterwards.
TEST(RunMapTest, StatementsFollowTheEditsOfTheScript) {
    const struct { bool insert; std::size_t position, length; const char* positions; } cases[] = {
        // Inserts before, at a statement's start, inside, at its end and between.
        {true, 0, 5, "15-25 35-45 55-65 "}, {true, 30, 2, "10-20 32-42 52-62 "}, {true, 35, 3, "10-20 30-43e 53-63 "},
        {true, 40, 1, "10-20 30-41e 51-61 "}, {true, 45, 4, "10-20 30-40 54-64 "},
        // Deletes before, ending at a start, inside, over two and after all.
        {false, 0, 10, "0-10 20-30 40-50 "}, {false, 25, 5, "10-20 25-35 45-55 "}, {false, 32, 4, "10-20 30-36e 46-56 "},
        {false, 15, 20, "10-15e 15-20e 30-40 "}, {false, 60, 5, "10-20 30-40 50-60 "},
    };
    for (const auto& c : cases) {
        CRunMap map = ThreeStatements();
        c.insert ? map.TextInserted(c.position, c.length) : map.TextDeleted(c.position, c.length);
        EXPECT_EQ(Positions(map), c.positions) << (c.insert ? "insert at " : "delete at ") << c.position;
    }
}

TEST(RunMapTest, OutputLeadsBackAndFailuresAreWalkedInOrder) {
    CRunMap map = ThreeStatements();
    for (const auto& [position, statement] : std::vector<std::pair<std::size_t, int>>{
             {0, 0}, {99, 0}, {100, 1}, {259, 2}, {260, -1}})
        EXPECT_EQ(map.AtOutput(position).value_or(-1), static_cast<std::size_t>(statement)) << position;

    // Forward from the start, past the last back to the first; backward.
    for (const auto& [from, forward, failure] : std::vector<std::tuple<std::size_t, bool, std::size_t>>{
             {0, true, 1}, {30, true, 2}, {50, true, 1}, {50, false, 1}, {30, false, 2}})
        EXPECT_EQ(map.NextFailure(from, forward), failure) << from << (forward ? " forward" : " backward");

    // An edited failure is skipped; a new script has none; no output after clearing.
    map.TextInserted(55, 1);
    EXPECT_EQ(map.NextFailure(30, true), 1u);
    map.ScriptReplaced();
    EXPECT_FALSE(map.NextFailure(0, true));
    map.OutputCleared();
    EXPECT_FALSE(map.AtOutput(0));
}

// A run reports each statement's text in the script and its part of the
// output, so that every line of the output leads back to its statement.
TEST_F(RunFixture, EachStatementsOutputLeadsBackToItsText) {
    m_connection.Connect(test_env::NewSqliteDsn("RunMapRunner"), "", "");
    const std::string script = "  -- first\r\nselect 1 as x;\r\n\r\nselect *\r\nfrom nosuch_" + std::string(60, 'n') +
                               ";\r\ncreate table t(a int)";
    const std::vector<std::string> statements = {"select 1 as x", "select *\r\nfrom nosuch_" + std::string(60, 'n'),
                                                 "create table t(a int)"};
    m_output.SetWrapWidth(30);   // the error is wrapped over several lines
    for (const int verbose : {1, 0}) {
        SCOPED_TRACE(verbose ? "verbose" : "quiet");
        m_settings.EnableOutput = verbose;
        m_host.m_statements.Clear();
        const std::string output = Run(script);
        const auto& ran = m_host.m_statements.Statements();
        ASSERT_EQ(ran.size(), 3u);
        for (std::size_t i = 0; i < ran.size(); ++i) {
            EXPECT_EQ(script.substr(ran[i].scriptBegin, ran[i].scriptEnd - ran[i].scriptBegin), statements[i]);
            // Every byte of the statement's output leads back to it.
            for (std::size_t at = ran[i].outputBegin; at < ran[i].outputEnd; ++at)
                ASSERT_EQ(m_host.m_statements.AtOutput(at), i) << at;
        }
        EXPECT_EQ(output.substr(ran[1].outputBegin, 5), "SQL> ");
        EXPECT_EQ(ran[1].outcome, Outcome::Failed);
        EXPECT_EQ(ran[1].message.substr(0, 42), "Error: [SQLite]no such table: nosuch_nnnnn");
        EXPECT_EQ(script.substr(ran[1].errorBegin, ran[1].errorEnd - ran[1].errorBegin), "nosuch_" + std::string(60, 'n'));
        // Quiet: the statement without output has none; verbose: its echo and "ok".
        EXPECT_EQ(output.substr(ran[2].outputBegin, ran[2].outputEnd - ran[2].outputBegin),
                  verbose ? "SQL> create table t(a int)\r\nok\r\n" : "");
        m_connection.Execute("drop table t");
    }
}

// The spot a driver's message names, as the text it covers ("" for none).
TEST(ErrorPositionTest, TheTokenOrCharacterTheMessageNames) {
    const struct { const char* message; const char* statement; const char* spot; } cases[] = {
        {"[SQLite]near \"selec\": syntax error (1)", "selec 1", "selec"},
        {"ERROR: syntax error at or near \"frm\";\nError while executing the query", "select * frm t", "frm"},
        // Not in strings or comments before it.
        {"near \"x\": syntax error", "select 'x' -- x\r\n, x", "x"},
        {"near \"from\": syntax error", "/* from */ select from", "from"},
        {"ERROR: column \"qq\" does not exist at character 8", "select qq from t", "qq"},
        {"ERROR: syntax error\nPosition: 11", "select \xC3\xA9, x+ from t", "x"},
        {"near \"nothere\": syntax error", "select 1", ""},
        {"[SQLite]no such table: nosuch (1)", "select 'nosuch' from nosuch", "nosuch"},
        {"ERROR: relation \"nosuch\" does not exist;", "select * from nosuch", "nosuch"},
        {"ERROR: column \"qq\" does not exist;", "select qq from t", "qq"},
        {"no such column: t.qq", "select t.qq from t", "t.qq"},
        {"[SQLite]no such function: f (1)", "select f(1)", ""}, {"at character 99", "select 1", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        const std::string statement = c.statement;
        const auto spot = LocateError(c.message, statement, CommentSyntax{});
        EXPECT_EQ(spot ? statement.substr(spot->offset, spot->length) : "", c.spot);
    }
}

}  // namespace
