#include "exec/csv_writer.h"

namespace {

bool NeedsQuotes(std::string_view value) noexcept {
    if (value.empty()) return true;
    for (const char c : value)
        if (c == ',' || c == '"' || c == '\r' || c == '\n') return true;
    return false;
}

}  // namespace

void CCsvWriter::BeginResult(std::string_view, const std::vector<ResultColumn>& columns) {
    m_line.clear();
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (i > 0) m_line += ',';
        PutField(columns[i].name);
    }
    EndLine();
}

void CCsvWriter::WriteRow(std::span<const ResultValue> row) {
    m_line.clear();
    for (std::size_t i = 0; i < row.size(); ++i) {
        if (i > 0) m_line += ',';
        if (row[i]) PutField(*row[i]);
    }
    EndLine();
}

void CCsvWriter::PutField(std::string_view value) {
    if (!NeedsQuotes(value)) {
        m_line += value;
        return;
    }
    m_line += '"';
    for (std::size_t quote; (quote = value.find('"')) != std::string_view::npos; value.remove_prefix(quote + 1)) {
        m_line.append(value.substr(0, quote + 1));
        m_line += '"';
    }
    m_line += value;
    m_line += '"';
}

void CCsvWriter::EndLine() {
    m_line += m_lineEnd;
    m_out.AppendText(m_line);
}
