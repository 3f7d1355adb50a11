#include "exec/error_position.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The spot a driver's message names, as the text it covers ("" for none).
TEST(ErrorPositionTest, TheTokenOrCharacterTheMessageNames) {
    const struct {
        const char* message;
        const char* statement;
        const char* spot;
    } cases[] = {
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
        {"[SQLite]no such function: f (1)", "select f(1)", ""},
        {"at character 99", "select 1", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        const std::string statement = c.statement;
        const auto spot = LocateError(c.message, statement, CommentSyntax{});
        EXPECT_EQ(spot ? statement.substr(spot->offset, spot->length) : "", c.spot);
    }
}

}  // namespace
