#include "editor/sql_keywords.h"

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
