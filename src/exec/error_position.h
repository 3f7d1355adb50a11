#pragma once

#include "script/statement_reader.h"

#include <cstddef>
#include <optional>
#include <string_view>

// Where in a statement the driver's message says the error is, as a byte
// range of the statement's text: the token quoted in `near "X"` (SQLite) or
// `at or near "X"` (PostgreSQL), or the name of a missing table or column
// (`no such table: X`, `relation "X" does not exist`, ...), found at its first occurrence outside
// strings and comments; or the character a driver names by its position
// (`at character N`, `Position: N`, counted from 1), as far as the word that
// stands there. None when the message names no spot or the token is not in
// the text.
struct ErrorPosition {
    std::size_t offset = 0;
    std::size_t length = 0;
};

std::optional<ErrorPosition> LocateError(std::string_view message, std::string_view statement,
                                         const CommentSyntax& syntax);
