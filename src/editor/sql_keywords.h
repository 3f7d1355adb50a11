#pragma once

#include <span>
#include <string_view>

// The SQL keywords completion offers (upper case, sorted, no repeats): the
// common ones of SQL:2016 that SQLite and PostgreSQL share.
std::span<const std::string_view> SqlKeywords();
