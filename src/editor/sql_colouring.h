#pragma once

#include "script/statement_reader.h"

#include <string_view>

// The colour classes of SQL text. They are numbered as the text control's
// own SQL lexer numbers its styles, so that text coloured by either looks
// the same.
enum class SqlClass : unsigned char {
    Plain = 0,
    BlockComment = 1,
    LineComment = 2,
    Number = 4,
    Keyword = 5,
    QuotedName = 6,   // the lexer's double-quoted text
    String = 7,       // the lexer's single-quoted text
    Operator = 10,
};

// Writes the class of each byte of text into classes (text.size() bytes),
// with the comment delimiters of syntax, the way the statement reader sees
// them: whatever is in a comment or a string is coloured as one. Blanks
// between tokens are Plain, so a line end is Plain exactly when no string,
// quoted name or block comment is open across it. text is read as if it
// began outside any token.
void ClassifySql(std::string_view text, const CommentSyntax& syntax, unsigned char* classes);

// Whether the control's own SQL lexer reads the comments of syntax as the
// statement reader does: the usual delimiters "--", "/*" and "*/".
bool LexerKnowsComments(const CommentSyntax& syntax);
