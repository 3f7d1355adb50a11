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

TEST(RunMapTest, StatementsFollowTheEditsOfTheScript) {
    const struct {
        const char* name;
        bool insert;
        std::size_t position, length;
        const char* positions;
    } cases[] = {
        {"InsertBefore", true, 0, 5, "15-25 35-45 55-65 "},
        {"InsertAtAStatementsStart", true, 30, 2, "10-20 32-42 52-62 "},
        {"InsertInside", true, 35, 3, "10-20 30-43e 53-63 "},
        {"InsertAtItsEnd", true, 40, 1, "10-20 30-41e 51-61 "},
        {"InsertBetween", true, 45, 4, "10-20 30-40 54-64 "},
        {"DeleteBefore", false, 0, 10, "0-10 20-30 40-50 "},
        {"DeleteEndingAtAStart", false, 25, 5, "10-20 25-35 45-55 "},
        {"DeleteInside", false, 32, 4, "10-20 30-36e 46-56 "},
        {"DeleteOverTwo", false, 15, 20, "10-15e 15-20e 30-40 "},
        {"DeleteAfterAll", false, 60, 5, "10-20 30-40 50-60 "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CRunMap map = ThreeStatements();
        if (c.insert)
            map.TextInserted(c.position, c.length);
        else
            map.TextDeleted(c.position, c.length);
        EXPECT_EQ(Positions(map), c.positions);
    }
}

TEST(RunMapTest, OutputLeadsBackAndFailuresAreWalkedInOrder) {
    CRunMap map = ThreeStatements();
    for (const auto& [position, statement] : std::vector<std::pair<std::size_t, int>>{
             {0, 0}, {99, 0}, {100, 1}, {259, 2}, {260, -1}})
        EXPECT_EQ(map.AtOutput(position).value_or(-1), static_cast<std::size_t>(statement)) << position;

    // Forward from the start, past the last back to the first; backward.
    EXPECT_EQ(map.NextFailure(0, true), 1u);
    EXPECT_EQ(map.NextFailure(30, true), 2u);
    EXPECT_EQ(map.NextFailure(50, true), 1u);
    EXPECT_EQ(map.NextFailure(50, false), 1u);
    EXPECT_EQ(map.NextFailure(30, false), 2u);

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

}  // namespace
