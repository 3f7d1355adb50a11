// The script's colouring with the statement reader's comment rules: every
// byte's class, with the usual delimiters and with others.
#include "editor/sql_colouring.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// One letter a class: '.' plain, 'b' block comment, 'l' line comment,
// 'n' number, 'k' keyword, 'q' quoted name, 's' string, 'o' operator,
// looked up by the class's value.
std::string Letters(std::string_view text, const CommentSyntax& syntax) {
    std::string classes(text.size(), '\0');
    ClassifySql(text, syntax, reinterpret_cast<unsigned char*>(classes.data()));
    for (char& c : classes) c = static_cast<unsigned char>(c) <= 10 ? ".bl?nkqs??o"[static_cast<int>(c)] : '?';
    return classes;
}

TEST(SqlColouringTest, EveryByteGetsTheClassOfWhatTheReaderSees) {
    const CommentSyntax usual;
    const CommentSyntax hash{"#", "{", "}", false};
    const CommentSyntax rem{"REM", "/*", "*/", false};
    const struct {
        const char* text;
        const CommentSyntax& syntax;
        const char* classes;
    } cases[] = {
        {"select 'a;b' from t;", usual, "kkkkkk.sssss.kkkk..o"},
        {"Select x2, 42 FROM \"Order\".id", usual, "kkkkkk...o.nn.kkkk.qqqqqqqo.."},
        // A line comment keeps its "\r" but not its "\n"; "--" inside a word.
        {"a--it's\r\nb", usual, ".lllllll.."},
        // A block comment or string open across a line end colours it too.
        {"/* a\r\n*/1", usual, "bbbbbbbbn"},
        {"'ab\ncd", usual, "ssssss"},
        {"/*/ x */", usual, "bbbbbbbb"},
        // Other delimiters: a quote in a comment opens no string, and the
        // usual ones are plain text.
        {"a # it's\nselect '{' -- x", hash, "..llllll.kkkkkk.sss.oo.."},
        {"{ it's\n} in", hash, "bbbbbbbb.kk"},
        // Delimiters match case-sensitively.
        {"rem x\nREM y", rem, "......lllll"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(Letters(c.text, c.syntax), c.classes);
    }
}

TEST(SqlColouringTest, TheLexerTakesOnlyTheUsualDelimiters) {
    EXPECT_TRUE(LexerKnowsComments(CommentSyntax{}));
    EXPECT_TRUE(LexerKnowsComments(CommentSyntax{"--", "/*", "*/", true}));
    for (const CommentSyntax& other : {CommentSyntax{"#", "/*", "*/", false}, CommentSyntax{"--", "{", "*/", false},
                                       CommentSyntax{"--", "/*", "}", false}})
        EXPECT_FALSE(LexerKnowsComments(other)) << other.singleLine << other.multiStart << other.multiEnd;
}

}  // namespace
