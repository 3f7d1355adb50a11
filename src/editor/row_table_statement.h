#pragma once

#include "db/db_statement.h"

#include <string>
#include <vector>

// A result set held in memory, so that text the program makes up (a
// table's description) is printed by CResultFormatter like any result set,
// in the transcript's own table style. Each column is as wide as its
// widest name or value (at least one column); values are never NULL.
class CRowTableStatement : public CDbStatement {
public:
    CRowTableStatement(std::vector<std::string> names, std::vector<std::vector<std::string>> rows);

    void Close() noexcept override {}
    int GetColumnCount() override { return static_cast<int>(m_names.size()); }
    void DescribeColumn(int column, char* name, int nameSize, SQLULEN& columnSize) override;
    ColumnDescription Describe(int column) override;
    void BindColumn(int column, char* buffer, SQLLEN bufferSize, SQLLEN* indicator) override;
    bool Fetch() override;
    bool GetData(int column, std::string& value) override;
    bool GetsDataOnBound() const noexcept override { return true; }

private:
    struct Binding {
        char* buffer = nullptr;
        SQLLEN size = 0;
        SQLLEN* indicator = nullptr;
    };

    std::vector<std::string> m_names;
    std::vector<std::vector<std::string>> m_rows;
    std::vector<SQLULEN> m_widths;
    std::vector<Binding> m_bindings;
    std::size_t m_nextRow = 0;
};
