#pragma once

#include <span>
#include <string>
#include <string_view>

// The SQL keywords completion offers (upper case, sorted, no repeats): the
// common ones of SQL:2016 that SQLite and PostgreSQL share.
std::span<const std::string_view> SqlKeywords();

// Whether word is one of SqlKeywords(), ignoring ASCII case.
bool IsSqlKeyword(std::string_view word);

// SqlKeywords() in lower case, separated by blanks: the form the text
// control's SQL lexer takes its keywords in.
std::string SqlKeywordList();
