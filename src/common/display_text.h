#pragma once

#include <cstddef>
#include <string_view>

// Text is kept as bytes (UTF-8 on Linux). Where text is counted or cut for
// display, these helpers count UTF-8 characters: a double-width character
// (CJK, full-width forms, wide emoji) counts two columns, a combining mark
// zero, and every byte that is not part of a valid UTF-8 sequence one. A cut
// never falls inside a character. Pure ASCII counts one column per byte.
namespace display_text {

// Columns the whole text takes.
int Width(std::string_view text);

// Length in bytes of the longest prefix of text that takes at most maxColumns
// columns. *columns (when given) receives the columns that prefix takes.
std::size_t PrefixForWidth(std::string_view text, int maxColumns, int* columns = nullptr);

// Length in bytes of the first maxChars characters (code points, or stray
// bytes) of text; the whole length when text holds fewer.
std::size_t PrefixForChars(std::string_view text, std::size_t maxChars);

// Length in bytes of the well-formed UTF-8 sequence (one character) that
// text starts with; 0 when it starts with a byte that is not part of one, or
// is empty.
std::size_t SequenceLength(std::string_view text);

// Length in bytes of the longest prefix of at most maxBytes bytes that does
// not end inside a UTF-8 character.
std::size_t PrefixForBytes(std::string_view text, std::size_t maxBytes);

}  // namespace display_text
