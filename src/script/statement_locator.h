#pragma once

#include "script/statement_reader.h"

#include <optional>
#include <string_view>

// The statement of script that holds the caret (a byte offset), as the
// statement reader cuts the script with syntax. A statement reaches from its
// first byte that is neither blank nor comment up to the first byte of the
// next one, so a caret in the blanks or comments after a ";" belongs to the
// statement before it; a caret before the first statement belongs to the
// first. None when the script holds no statement.
std::optional<StatementSpan> LocateStatement(std::string_view script, const CommentSyntax& syntax, std::size_t caret);
