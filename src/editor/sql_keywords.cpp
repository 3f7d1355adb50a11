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

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// The keywords' order (they are upper case) with the other side's letters
// taken as upper case: a word is looked up without a copy.
bool LessAsUpper(std::string_view a, std::string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return Upper(x) < Upper(y); });
}

}  // namespace

std::span<const std::string_view> SqlKeywords() { return kKeywords; }

bool IsSqlKeyword(std::string_view word) {
    return std::binary_search(std::begin(kKeywords), std::end(kKeywords), word, LessAsUpper);
}

std::string SqlKeywordList() {
    std::string list;
    for (const std::string_view keyword : kKeywords) {
        if (!list.empty()) list.push_back(' ');
        for (const char c : keyword) list.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
    }
    return list;
}
