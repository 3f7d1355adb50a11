#pragma once

#include "script/statement_reader.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// One token of a statement, as far as completion needs to tell them apart.
struct SqlToken {
    enum class Kind { Word, QuotedName, String, Comment, Punctuation };
    Kind kind;
    std::size_t begin;
    std::size_t end;          // one past the last byte (the text's end when unterminated)
    // Closed by its own delimiter: a string, quoted name or block comment
    // with its closing delimiter. A line comment never is (the line end is
    // not part of it), so a caret at its end is still inside it.
    bool terminated = true;
    // A word or quoted name without its quotes ('""' inside read as '"');
    // the character of punctuation.
    std::string text;
};

// Cuts SQL text into words (letters, digits, '_', '$' and every byte of a
// non-ASCII character), double-quoted names, single-quoted strings,
// comments (the syntax's delimiters) and single punctuation characters.
// Blanks separate tokens and are not returned.
// The token that starts at or after pos (blanks skipped); false at the end
// of the text. pos moves past the token. Lets a caller go through a long
// text without keeping its tokens.
bool NextSqlToken(std::string_view text, std::size_t& pos, const CommentSyntax& syntax, SqlToken& token);

std::vector<SqlToken> LexSql(std::string_view text, const CommentSyntax& syntax);

// Whether text holds CREATE, ALTER or DROP as a word (not in a string, a
// quoted name or a comment): a run of it may have changed the catalog.
bool ChangesSchema(std::string_view text, const CommentSyntax& syntax);

// Whether the token is a word that equals keyword, ignoring ASCII case.
bool IsKeyword(const SqlToken& token, std::string_view keyword);
