#include "editor/row_table_statement.h"

#include "common/display_text.h"

#include <algorithm>
#include <cstring>

namespace {

// Copies text into buffer of size bytes, cut to fit and NUL-terminated, as a
// driver does.
void CopyCut(const std::string& text, char* buffer, SQLLEN size) {
    if (size <= 0) return;
    const std::size_t length = display_text::PrefixForBytes(text, static_cast<std::size_t>(size - 1));
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
}

}  // namespace

CRowTableStatement::CRowTableStatement(std::vector<std::string> names, std::vector<std::vector<std::string>> rows)
    : CDbStatement(SQL_NULL_HSTMT), m_names(std::move(names)), m_rows(std::move(rows)), m_bindings(m_names.size()) {
    for (std::size_t c = 0; c < m_names.size(); ++c) {
        int width = std::max(1, display_text::Width(m_names[c]));
        for (auto& row : m_rows) {
            row.resize(m_names.size());
            width = std::max(width, display_text::Width(row[c]));
        }
        m_widths.push_back(static_cast<SQLULEN>(width));
    }
}

void CRowTableStatement::DescribeColumn(int column, char* name, int nameSize, SQLULEN& columnSize) {
    CopyCut(m_names.at(static_cast<std::size_t>(column - 1)), name, nameSize);
    columnSize = m_widths.at(static_cast<std::size_t>(column - 1));
}

ColumnDescription CRowTableStatement::Describe(int column) {
    const auto c = static_cast<std::size_t>(column - 1);
    return ColumnDescription{m_names.at(c), SQL_VARCHAR, m_widths.at(c)};
}

void CRowTableStatement::BindColumn(int column, char* buffer, SQLLEN bufferSize, SQLLEN* indicator) {
    m_bindings.at(static_cast<std::size_t>(column - 1)) = Binding{buffer, bufferSize, indicator};
}

bool CRowTableStatement::Fetch() {
    if (m_nextRow == m_rows.size()) return false;
    const std::vector<std::string>& row = m_rows[m_nextRow++];
    for (std::size_t c = 0; c < m_bindings.size(); ++c) {
        const Binding& b = m_bindings[c];
        if (b.buffer == nullptr) continue;
        CopyCut(row[c], b.buffer, b.size);
        if (b.indicator) *b.indicator = static_cast<SQLLEN>(row[c].size());
    }
    return true;
}

bool CRowTableStatement::GetData(int column, std::string& value) {
    value = m_rows.at(m_nextRow - 1).at(static_cast<std::size_t>(column - 1));
    return true;
}
