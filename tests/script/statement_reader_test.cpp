// The reader's rules case by case. (Arbitrary texts and delimiters against
// a plain second reading of the rules: fuzz/statement_reader_fuzz.cpp, run
// by scripts/test.sh.)
#include "script/statement_reader.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using Statements = std::vector<std::string>;

// Every statement of text; also checks that the used-up reader hands out
// no more and leaves the last statement alone.
Statements ReadAll(std::string_view text, const CommentSyntax& syntax) {
    CStatementReader reader;
    reader.Reset(text, syntax);
    Statements result;
    std::string statement = "unchanged";
    // Every statement handed out consumes at least one byte, so more calls
    // than bytes plus one would mean the reader is stuck.
    for (std::size_t calls = 0; reader.GetNextStatement(statement); ++calls) {
        if (calls > text.size()) {
            ADD_FAILURE() << "reader does not end";
            break;
        }
        result.push_back(statement);
    }
    EXPECT_FALSE(reader.GetNextStatement(statement)) << "used-up reader handed out more";
    EXPECT_EQ(statement, result.empty() ? "unchanged" : result.back()) << "false changed the statement";
    return result;
}

// The statements with the default delimiters, comments kept and removed
// (nullopt: the same).
struct Case {
    std::string text;
    Statements kept;
    std::optional<Statements> removed = std::nullopt;
};

void PrintTo(const Case& c, std::ostream* os) { *os << testing::PrintToString(c.text); }

class DefaultSyntax : public testing::TestWithParam<Case> {};

TEST_P(DefaultSyntax, CutsIntoStatements) {
    CommentSyntax syntax;
    EXPECT_EQ(ReadAll(GetParam().text, syntax), GetParam().kept);
    syntax.removeComments = true;
    EXPECT_EQ(ReadAll(GetParam().text, syntax), GetParam().removed.value_or(GetParam().kept));
}

const Case kCases[] = {
    {"select 'a;b' from t; -- x;\r\n select 1", {"select 'a;b' from t", " -- x;\r\n select 1"},
     Statements{"select 'a;b' from t", "  select 1"}},
    {"insert into t values ('it''s; ok');/* a;\r\nb */select 2;",
     {"insert into t values ('it''s; ok')", "/* a;\r\nb */select 2"},
     Statements{"insert into t values ('it''s; ok')", "select 2"}},
    {"select 1 -- note", {"select 1 -- note"}, Statements{"select 1 "}}, {"select 'abc;def", {"select 'abc;def"}},
    {"a;;b", {"a", "", "b"}}, {"select 1;\r\n-- end", {"select 1", "\r\n-- end"}, Statements{"select 1", "\r\n"}},
    {"", {}}, {"select ';' from t", {"select ';' from t"}},
    {"select 'it''s;x' from t;select 2", {"select 'it''s;x' from t", "select 2"}},
    {"select 1 -- c;\r\nfrom t;", {"select 1 -- c;\r\nfrom t"}, Statements{"select 1 from t"}},
    {"select/* x */1", {"select/* x */1"}, Statements{"select1"}},
    {"/*/ x */select 1", {"/*/ x */select 1"}, Statements{"select 1"}},
    {";", {""}}, {"a;", {"a"}}, {"a; ", {"a", " "}}, {"-- only a comment", {"-- only a comment"}, Statements{""}},
    {"a--b;c", {"a--b;c"}, Statements{"a"}},                     // a comment may start inside a word
    {"select \"x;y\" from t", {"select \"x", "y\" from t"}},    // double quotes do not protect
    {"select `x;y`", {"select `x", "y`"}},
    {"'--';'/*'", {"'--'", "'/*'"}},                              // delimiters inside strings are text
    {"/* 'x;*/y;z", {"/* 'x;*/y", "z"}, Statements{"y", "z"}},    // quotes inside comments are text
    {"/* a -- b */c;d", {"/* a -- b */c", "d"}, Statements{"c", "d"}},
    {"-- a /* b\r\nc*/;d", {"-- a /* b\r\nc*/", "d"}, Statements{"c*/", "d"}},  // the single-line delimiter is tested first
    {"a /* open;", {"a /* open;"}, Statements{"a "}},              // unclosed comment runs to the end
    // A "\n" on its own (a file with Unix line ends) ends the comment as a
    // one-byte line end, so the statements after it are still read.
    {"x --c\nselect 1;\nselect 2", {"x --c\nselect 1", "\nselect 2"}, Statements{"x select 1", "\nselect 2"}},
    {"-- a;b\n-- c;d\ne;f", {"-- a;b\n-- c;d\ne", "f"}, Statements{"e", "f"}}, {"x --c\n", {"x --c\n"}, Statements{"x "}},
    // The byte after the "\r" is taken as the line end, whatever it is: kept
    // as it stands with the comment, dropped with it otherwise.
    {"a --c\rX;b", {"a --c\rX", "b"}, Statements{"a ", "b"}},
    {"a --c\r;b", {"a --c\r;b"}, Statements{"a b"}},                 // a ';' there does not separate
    {"a --c\r", {"a --c\r"}, Statements{"a "}},                       // a final "\r" ends comment and text
    {std::string("a;b\0;c", 6), {"a", "b"}},                         // the text ends at its first NUL
    {std::string("--x\r\0y", 6), {"--x\r"}, Statements{""}},          // never beyond it
    {std::string("'ab\0';c", 7), {"'ab"}},
};

INSTANTIATE_TEST_SUITE_P(Table, DefaultSyntax, testing::ValuesIn(kCases));

TEST(StatementReader, CustomAndEmptyDelimiters) {
    const struct { CommentSyntax syntax; std::string text; Statements expected; } cases[] = {
        {{"REM", "/*", "*/", true}, "REM x;\r\nselect 1;rem y;z", {"select 1", "rem y", "z"}},
        {{"#", "/*", "*/", true}, "a#b;c\r\nd;e", {"ad", "e"}},
        {{"#", "/*", "*/", false}, "'#';a#;\r\nb", {"'#'", "a#;\r\nb"}},
        // A start delimiter that begins with the single-line one is never seen.
        {{"-", "-*", "*-", true}, "a-* x *-;b\r\nc", {"ac"}},
        {{"--", "{", "}", true}, "a{;}b;c", {"ab", "c"}},
        // Equal start and end delimiters: the end is sought after the start.
        {{"--", "<<", "<<", true}, "<<<<a;b", {"a", "b"}},
        {{"--", "<<", "<<", true}, "x<<<a;b", {"x"}},
        // Empty delimiters never match; without an end delimiter a comment runs to the end.
        {{"", "", "", true}, "a--b;/*c*/;d", {"a--b", "/*c*/", "d"}},
        {{"", "/*", "", true}, "a/*b;c", {"a"}},
        {{"", "/*", "", false}, "a/*b;c", {"a/*b;c"}},
        {{"--", "", "*/", true}, "a*/;--x\r\nb", {"a*/", "b"}},
    };
    for (const auto& c : cases) EXPECT_EQ(ReadAll(c.text, c.syntax), c.expected) << testing::PrintToString(c.text);
}

}  // namespace
