#include "editor/catalog_reader.h"

#include "db/db_exception.h"
#include "db/db_statement.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <utility>

namespace {

// A statement handle for one catalog call, freed by CDbStatement.
std::unique_ptr<CDbStatement> NewStatement(CDbConnection& connection) {
    SQLHSTMT hstmt = SQL_NULL_HSTMT;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, connection.Handle(), &hstmt)))
        throw CDBException(SQL_HANDLE_DBC, connection.Handle());
    return std::make_unique<CDbStatement>(hstmt);
}

void Check(SQLRETURN result, CDbStatement& statement) {
    if (!SQL_SUCCEEDED(result)) throw CDBException(SQL_HANDLE_STMT, statement.Handle());
}

// A catalog argument: null for "" (any), else the text.
SQLCHAR* Arg(const std::string& text) {
    return text.empty() ? nullptr : reinterpret_cast<SQLCHAR*>(const_cast<char*>(text.c_str()));
}
SQLSMALLINT ArgLength(const std::string& text) { return text.empty() ? 0 : static_cast<SQLSMALLINT>(text.size()); }

// The value of column as text ("" for NULL). Columns must be read in
// ascending order: drivers need not allow any other.
std::string Text(CDbStatement& statement, int column) {
    std::string value;
    if (!statement.GetData(column, value)) value.clear();
    return value;
}

}  // namespace

std::vector<CatalogTable> CCatalogReader::Tables() {
    const auto statement = NewStatement(m_connection);
    CCancellableScope cancellable(m_pCanceller, statement->Handle());
    std::string types = "TABLE,VIEW";
    Check(SQLTables(statement->Handle(), nullptr, 0, nullptr, 0, nullptr, 0, Arg(types), ArgLength(types)), *statement);
    std::vector<CatalogTable> tables;
    while (statement->Fetch()) {
        CatalogTable table;
        table.schema = Text(*statement, 2);
        table.name = Text(*statement, 3);
        table.view = Text(*statement, 4) == "VIEW";
        tables.push_back(std::move(table));
    }
    return tables;
}

// Calls SQLColumns for the patterns and hands each row's schema, table and
// column to take.
template <class Take>
void CCatalogReader::ReadColumns(const std::string& schema, const std::string& table, Take take) {
    const auto statement = NewStatement(m_connection);
    CCancellableScope cancellable(m_pCanceller, statement->Handle());
    Check(SQLColumns(statement->Handle(), nullptr, 0, Arg(schema), ArgLength(schema), Arg(table), ArgLength(table),
                     nullptr, 0),
          *statement);
    while (statement->Fetch()) {
        std::string rowSchema = Text(*statement, 2);
        std::string rowTable = Text(*statement, 3);
        CatalogColumn column;
        column.name = Text(*statement, 4);
        column.type = Text(*statement, 6);
        column.size = Text(*statement, 7);
        const std::string nullable = Text(*statement, 11);
        column.nullable = nullable == "0" ? "NO" : nullable == "1" ? "YES" : "";
        column.defaultValue = Text(*statement, 13);
        take(std::move(rowSchema), std::move(rowTable), std::move(column));
    }
}

std::vector<CatalogColumn> CCatalogReader::Columns(const std::string& schema, const std::string& table) {
    std::vector<CatalogColumn> columns;
    std::optional<std::string> foundSchema;   // without a schema: the first one that has the table
    ReadColumns(schema, table, [&](std::string rowSchema, std::string rowTable, CatalogColumn column) {
        if (rowTable != table || (!schema.empty() && rowSchema != schema)) return;
        if (!foundSchema) foundSchema = rowSchema;
        if (rowSchema == *foundSchema) columns.push_back(std::move(column));
    });
    return columns;
}

std::map<std::pair<std::string, std::string>, std::vector<std::string>> CCatalogReader::AllColumnNames() {
    std::map<std::pair<std::string, std::string>, std::vector<std::string>> names;
    ReadColumns({}, {}, [&](std::string rowSchema, std::string rowTable, CatalogColumn column) {
        names[{std::move(rowSchema), std::move(rowTable)}].push_back(std::move(column.name));
    });
    return names;
}

std::vector<std::string> CCatalogReader::PrimaryKey(const std::string& schema, const std::string& table) {
    const auto statement = NewStatement(m_connection);
    CCancellableScope cancellable(m_pCanceller, statement->Handle());
    Check(SQLPrimaryKeys(statement->Handle(), nullptr, 0, Arg(schema), ArgLength(schema), Arg(table), ArgLength(table)),
          *statement);
    std::vector<std::pair<int, std::string>> keys;
    while (statement->Fetch()) {
        std::string column = Text(*statement, 4);
        const std::string sequence = Text(*statement, 5);
        keys.emplace_back(std::atoi(sequence.c_str()), std::move(column));
    }
    std::sort(keys.begin(), keys.end());
    std::vector<std::string> names;
    for (auto& key : keys) names.push_back(std::move(key.second));
    return names;
}
