#include "exec/markdown_writer.h"

void CMarkdownWriter::BeginResult(std::string_view, const std::vector<ResultColumn>& columns) {
    m_line.clear();
    if (!m_bFirstTable) m_line += m_lineEnd;
    m_bFirstTable = false;
    m_line += '|';
    for (const ResultColumn& column : columns) PutCell(column.name);
    EndLine();
    m_line += '|';
    for (const ResultColumn& column : columns) m_line += column.IsNumeric() ? " ---: |" : " --- |";
    EndLine();
}

void CMarkdownWriter::WriteRow(std::span<const ResultValue> row) {
    m_line = '|';
    for (const ResultValue& value : row) PutCell(value ? *value : std::string_view(m_strNullText));
    EndLine();
}

void CMarkdownWriter::PutCell(std::string_view value) {
    m_line += ' ';
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        switch (c) {
        case '|': m_line += "\\|"; break;
        case '\\': m_line += "\\\\"; break;
        case '\0': m_line += "\xEF\xBF\xBD"; break;
        case '\r':
            if (i + 1 < value.size() && value[i + 1] == '\n') ++i;
            [[fallthrough]];
        case '\n': m_line += "<br>"; break;
        default: m_line += c;
        }
    }
    m_line += " |";
}

void CMarkdownWriter::EndLine() {
    m_line += m_lineEnd;
    m_out.AppendText(m_line);
    m_line.clear();
}
