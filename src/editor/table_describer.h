#pragma once

#include "db/db_connection.h"
#include "exec/output_sink.h"

#include <cstddef>
#include <string>
#include <string_view>

// Describe: prints a table's (or view's) columns into the transcript as a
// table of their name, type, size, nullability, default and place in the
// primary key, under the line "Table <name>", from SQLColumns and
// SQLPrimaryKeys. The name may be schema-qualified and quoted; an unquoted
// name that the database does not know as written is looked up in lower and
// then upper case (as databases fold unquoted names). A name that is no
// table prints "No table named <name>" on one line; a driver's failure
// prints its error as a statement's would; without a connection it prints
// "not connected". Runs on a worker thread.
class CTableDescriber {
public:
    CTableDescriber(CDbConnection& connection, int defColLen, int maxColLen)
        : m_connection(connection), m_nDefColLen(defColLen), m_nMaxColLen(maxColLen) {}

    void Describe(std::string_view name, COutputSink& output);

private:
    CDbConnection& m_connection;
    int m_nDefColLen;
    int m_nMaxColLen;
};

// The name to describe at caret in text: the run of name characters
// (letters, digits, '_', '$', non-ASCII, '.' and double-quoted parts) around
// it; "" when there is none.
std::string NameAt(std::string_view text, std::size_t caret);
