#pragma once

#include "db/db_connection.h"
#include "db/statement_canceller.h"

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// A table or view as SQLTables reports it.
struct CatalogTable {
    std::string schema;   // "" where the database has none
    std::string name;
    bool view = false;
};

// A column as SQLColumns reports it; NULL values read as "".
struct CatalogColumn {
    std::string name;
    std::string type;       // the database's own type name
    std::string size;       // COLUMN_SIZE
    std::string nullable;   // "YES", "NO" or "" (unknown)
    std::string defaultValue;
};

// Reads the catalog of an open connection with the ODBC catalog functions,
// on whatever thread calls it (never the window's: a catalog of thousands of
// tables takes a while). A driver's failure throws CDBException.
class CCatalogReader {
public:
    // canceller (if any) can stop a catalog call from another thread; the
    // call then throws.
    explicit CCatalogReader(CDbConnection& connection, CStatementCanceller* canceller = nullptr)
        : m_connection(connection), m_pCanceller(canceller) {}

    // Every table and view (SQLTables), in the driver's order.
    std::vector<CatalogTable> Tables();
    // The columns of the table of exactly this schema and name, in their
    // order; without a schema (""), of the first schema that has such a
    // table (SQLColumns; the names are passed as patterns, so the
    // rows of other tables that match are left out here).
    std::vector<CatalogColumn> Columns(const std::string& schema, const std::string& table);
    // The primary key's columns in key order (SQLPrimaryKeys); none when the
    // table has none.
    std::vector<std::string> PrimaryKey(const std::string& schema, const std::string& table);
    // The column names of every table the driver reports, by schema and
    // table, in their order: one SQLColumns call for the whole catalog.
    std::map<std::pair<std::string, std::string>, std::vector<std::string>> AllColumnNames();

private:
    template <class Take>
    void ReadColumns(const std::string& schema, const std::string& table, Take take);

    CDbConnection& m_connection;
    CStatementCanceller* m_pCanceller;
};
