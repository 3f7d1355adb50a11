#include "script/statement_locator.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Which statement holds the caret: the script with "|" where the caret is,
// and the statement found (its content up to its end) or "" for none.
TEST(StatementLocatorTest, TheStatementThatHoldsTheCaret) {
    const struct { const char* script; const char* statement; bool removeComments = false; } cases[] = {
        {"select 1; sel|ect 2; select 3", "select 2"}, {"|select 1; select 2", "select 1"},
        {"select 1;| select 2", "select 1"}, {"select 1|; select 2", "select 1"},
        {"select 1;  \r\n  -- note |\r\n select 2;", "select 1"}, {"select 1; /* a | b */ select 2", "select 1"},
        {"select 1; /* a b */ |select 2", "select 2"}, {"\r\n  -- first |\r\nselect 1;select 2", "select 1"},
        {"  | \r\n select 1;select 2", "select 1"}, {"select 'a;|b'; select 2", "select 'a;b'"},
        {"select 1; select 'unterminated |; still", "select 'unterminated ; still"},
        {"select 1;\nselect\n  2|\n;\n", "select\n  2\n"}, {"select 1; ; |;  ", "select 1"},
        {"|", ""}, {"  ;  ; |", ""},
        // A comment is no statement, kept or not.
        {"-- only a comment |", ""}, {"-- only a comment |", "", true},
        {"select 1; -- note\r\n|select 2", "select 2", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        std::string script = c.script;
        const std::size_t caret = script.find('|');
        script.erase(caret, 1);
        CommentSyntax syntax;
        syntax.removeComments = c.removeComments;
        const auto span = LocateStatement(script, syntax, caret);
        EXPECT_EQ(span ? script.substr(span->content, span->end - span->content) : "", c.statement);
    }
}

}  // namespace
