#pragma once

#include "db/db_exception.h"
#include "db/db_statement.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

// Stands in for a driver's result set where exact column sizes, huge sizes or
// a fetch error are needed. It behaves as SQLDescribeCol, SQLBindCol and
// SQLFetch do: names and values are cut to their buffer and NUL-terminated,
// the indicator holds the full length or SQL_NULL_DATA, and a NULL leaves the
// bound buffer as it was.
struct FakeColumn {
    std::string name;
    SQLULEN size;
};
using FakeRow = std::vector<std::optional<std::string>>;

class CFakeStatement : public CDbStatement {
public:
    CFakeStatement(std::vector<FakeColumn> columns, std::vector<FakeRow> rows, bool fetchErrorAtEnd = false)
        : CDbStatement(SQL_NULL_HSTMT), m_columns(std::move(columns)), m_rows(std::move(rows)),
          m_bFetchErrorAtEnd(fetchErrorAtEnd), m_bindings(m_columns.size()) {}

    int GetColumnCount() override { return static_cast<int>(m_columns.size()); }

    void DescribeColumn(int column, char* name, int nameSize, SQLULEN& columnSize) override {
        const FakeColumn& c = m_columns.at(column - 1);
        Copy(c.name, name, nameSize);
        columnSize = c.size;
        if (static_cast<int>(c.name.size()) >= nameSize)
            throw CDBException(DiagRecord{true, "01004", "String data, right truncated"});
    }

    void BindColumn(int column, char* buffer, SQLLEN bufferSize, SQLLEN* indicator) override {
        m_bindings.at(column - 1) = Binding{buffer, bufferSize, indicator};
    }

    bool Fetch() override {
        if (m_nextRow == m_rows.size()) {
            if (m_bFetchErrorAtEnd) throw CDBException(DiagRecord{true, "22012", "division by zero"});
            return false;
        }
        const FakeRow& row = m_rows[m_nextRow++];
        for (std::size_t i = 0; i < m_bindings.size(); ++i) {
            const Binding& b = m_bindings[i];
            if (!row.at(i)) {
                *b.indicator = SQL_NULL_DATA;
                continue;
            }
            Copy(*row[i], b.buffer, static_cast<int>(b.size));
            *b.indicator = static_cast<SQLLEN>(row[i]->size());
        }
        return true;
    }

protected:
    std::vector<FakeColumn> m_columns;
    std::vector<FakeRow> m_rows;
    std::size_t m_nextRow = 0;

private:
    struct Binding {
        char* buffer = nullptr;
        SQLLEN size = 0;
        SQLLEN* indicator = nullptr;
    };

    static void Copy(const std::string& text, char* buffer, int size) {
        const std::size_t length = std::min(text.size(), static_cast<std::size_t>(size - 1));
        std::memcpy(buffer, text.data(), length);
        buffer[length] = '\0';
    }

    bool m_bFetchErrorAtEnd;
    std::vector<Binding> m_bindings;
};
