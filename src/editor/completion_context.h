#pragma once

#include "script/statement_reader.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A table a statement names (after FROM, JOIN, INTO or UPDATE), with its
// alias when it has one. Names are as written, without their quotes.
struct TableReference {
    std::string schema;
    std::string name;
    std::string alias;
    bool quoted = false;   // the name was written in double quotes
};

// What completion may offer at the caret of a statement.
struct CompletionContext {
    enum class Kind {
        None,      // inside a string or a comment: nothing
        Any,       // keywords, tables and the columns of the tables in scope
        Tables,    // right after FROM, JOIN, INTO or UPDATE (or a comma of a FROM list)
        Columns,   // after "qualifier.": the columns of that table
    };
    Kind kind = Kind::None;
    // The part of the name before the caret that the list is filtered by,
    // and where it starts (a byte offset into the statement).
    std::string prefix;
    std::size_t prefixStart = 0;
    // For Columns: the table the qualifier names (its alias resolved); for
    // Tables after "schema.": the schema.
    std::optional<TableReference> qualified;
    std::string schema;
    // The tables the statement names.
    std::vector<TableReference> tables;
};

// The completion context of the caret (a byte offset into statement, which
// is the statement that holds it, as the statement locator finds it).
CompletionContext CompletionContextAt(std::string_view statement, std::size_t caret, const CommentSyntax& syntax);
