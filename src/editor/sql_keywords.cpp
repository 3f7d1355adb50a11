#include "editor/sql_keywords.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr std::string_view kKeywords[] = {
    "ADD",      "ALL",       "ALTER",     "AND",      "AS",       "ASC",      "BEGIN",    "BETWEEN",  "BY",
    "CASE",     "CAST",      "CHECK",     "COALESCE", "COLUMN",   "COMMIT",   "CONSTRAINT", "COUNT",  "CREATE",
    "CROSS",    "DEFAULT",   "DELETE",    "DESC",     "DISTINCT", "DROP",     "ELSE",     "END",      "EXCEPT",
    "EXISTS",   "FOREIGN",   "FROM",      "FULL",     "GROUP",    "HAVING",   "IN",       "INDEX",    "INNER",
    "INSERT",   "INTERSECT", "INTO",      "IS",       "JOIN",     "KEY",      "LEFT",     "LIKE",     "LIMIT",
    "NOT",      "NULL",      "OFFSET",    "ON",       "OR",       "ORDER",    "OUTER",    "PRIMARY",  "REFERENCES",
    "RIGHT",    "ROLLBACK",  "SELECT",    "SET",      "TABLE",    "THEN",     "UNION",    "UNIQUE",   "UPDATE",
    "USING",    "VALUES",    "VIEW",      "WHEN",     "WHERE",    "WITH",
};

}  // namespace

std::span<const std::string_view> SqlKeywords() { return kKeywords; }

bool IsSqlKeyword(std::string_view word) {
    if (word.empty() || word.size() > 16) return false;
    std::string upper(word);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return std::binary_search(std::begin(kKeywords), std::end(kKeywords), std::string_view(upper));
}

std::string SqlKeywordList() {
    std::string list;
    for (const std::string_view keyword : kKeywords) {
        if (!list.empty()) list.push_back(' ');
        for (const char c : keyword) list.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
    }
    return list;
}
