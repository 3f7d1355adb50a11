#include "editor/sql_lexer.h"

namespace {

bool IsWordByte(char c) {
    const auto b = static_cast<unsigned char>(c);
    return (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || (b >= '0' && b <= '9') || b == '_' || b == '$' ||
           b >= 0x80;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The end of a quoted run that starts at begin with quote; a doubled quote
// stays inside. Sets closed when the closing quote is there.
std::size_t QuotedEnd(std::string_view text, std::size_t begin, char quote, bool& closed, std::string* inner) {
    std::size_t i = begin + 1;
    while (i < text.size()) {
        if (text[i] != quote) {
            if (inner) inner->push_back(text[i]);
            ++i;
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == quote) {
            if (inner) inner->push_back(quote);
            i += 2;
            continue;
        }
        closed = true;
        return i + 1;
    }
    closed = false;
    return text.size();
}

}  // namespace

bool NextSqlToken(std::string_view text, std::size_t& pos, const CommentSyntax& syntax, SqlToken& token) {
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
    if (pos >= text.size()) return false;
    const auto startsWith = [&](const std::string& delimiter) {
        return !delimiter.empty() && text.substr(pos, delimiter.size()) == delimiter;
    };
    const char c = text[pos];
    token = SqlToken{SqlToken::Kind::Punctuation, pos, pos + 1, true, {}};
    if (startsWith(syntax.singleLine)) {
        token.kind = SqlToken::Kind::Comment;
        token.terminated = false;
        const std::size_t eol = text.find('\n', pos);
        token.end = eol == std::string_view::npos ? text.size() : eol;
    } else if (startsWith(syntax.multiStart)) {
        token.kind = SqlToken::Kind::Comment;
        const std::size_t close = syntax.multiEnd.empty() ? std::string_view::npos
                                                          : text.find(syntax.multiEnd, pos + syntax.multiStart.size());
        token.terminated = close != std::string_view::npos;
        token.end = token.terminated ? close + syntax.multiEnd.size() : text.size();
    } else if (c == '\'') {
        token.kind = SqlToken::Kind::String;
        token.end = QuotedEnd(text, pos, '\'', token.terminated, nullptr);
    } else if (c == '"') {
        token.kind = SqlToken::Kind::QuotedName;
        token.end = QuotedEnd(text, pos, '"', token.terminated, &token.text);
    } else if (IsWordByte(c)) {
        token.kind = SqlToken::Kind::Word;
        while (token.end < text.size() && IsWordByte(text[token.end])) ++token.end;
        token.text.assign(text.substr(pos, token.end - pos));
    } else {
        token.text.assign(1, c);
    }
    pos = token.end;
    return true;
}

std::vector<SqlToken> LexSql(std::string_view text, const CommentSyntax& syntax) {
    std::vector<SqlToken> tokens;
    std::size_t pos = 0;
    SqlToken token;
    while (NextSqlToken(text, pos, syntax, token)) tokens.push_back(std::move(token));
    return tokens;
}

// Token by token, without keeping them: a script of millions of them costs
// no memory here.
bool ChangesSchema(std::string_view text, const CommentSyntax& syntax) {
    std::size_t pos = 0;
    SqlToken token;
    while (NextSqlToken(text, pos, syntax, token))
        if (IsKeyword(token, "create") || IsKeyword(token, "alter") || IsKeyword(token, "drop")) return true;
    return false;
}

bool IsKeyword(const SqlToken& token, std::string_view keyword) {
    if (token.kind != SqlToken::Kind::Word || token.text.size() != keyword.size()) return false;
    for (std::size_t i = 0; i < keyword.size(); ++i)
        if (Lower(token.text[i]) != Lower(keyword[i])) return false;
    return true;
}
