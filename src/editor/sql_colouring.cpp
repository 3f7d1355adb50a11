#include "editor/sql_colouring.h"

#include "editor/sql_keywords.h"
#include "editor/sql_lexer.h"

#include <algorithm>
#include <cstring>

namespace {

SqlClass ClassOf(const SqlToken& token, std::string_view text, const CommentSyntax& syntax) {
    switch (token.kind) {
    case SqlToken::Kind::Comment:
        return !syntax.singleLine.empty() && text.substr(token.begin).starts_with(syntax.singleLine)
                   ? SqlClass::LineComment
                   : SqlClass::BlockComment;
    case SqlToken::Kind::String:
        return SqlClass::String;
    case SqlToken::Kind::QuotedName:
        return SqlClass::QuotedName;
    case SqlToken::Kind::Word:
        if (token.text[0] >= '0' && token.text[0] <= '9') return SqlClass::Number;
        return IsSqlKeyword(token.text) ? SqlClass::Keyword : SqlClass::Plain;
    case SqlToken::Kind::Punctuation:
        break;
    }
    return SqlClass::Operator;
}

}  // namespace

void ClassifySql(std::string_view text, const CommentSyntax& syntax, unsigned char* classes) {
    std::memset(classes, 0, text.size());
    std::size_t pos = 0;
    SqlToken token;
    while (NextSqlToken(text, pos, syntax, token)) {
        const SqlClass cls = ClassOf(token, text, syntax);
        if (cls != SqlClass::Plain)
            std::fill(classes + token.begin, classes + token.end, static_cast<unsigned char>(cls));
    }
}

bool LexerKnowsComments(const CommentSyntax& syntax) {
    const CommentSyntax usual;
    return syntax.singleLine == usual.singleLine && syntax.multiStart == usual.multiStart &&
           syntax.multiEnd == usual.multiEnd;
}
