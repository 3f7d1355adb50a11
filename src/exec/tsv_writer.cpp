#include "exec/tsv_writer.h"

void CTsvWriter::BeginResult(std::string_view, const std::vector<ResultColumn>& columns) {
    m_line.clear();
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (i > 0) m_line += '\t';
        PutField(columns[i].name);
    }
    EndLine();
}

void CTsvWriter::WriteRow(std::span<const ResultValue> row) {
    m_line.clear();
    for (std::size_t i = 0; i < row.size(); ++i) {
        if (i > 0) m_line += '\t';
        if (row[i])
            PutField(*row[i]);
        else
            m_line += "\\N";
    }
    EndLine();
}

void CTsvWriter::PutField(std::string_view value) {
    for (const char c : value) {
        switch (c) {
        case '\t': m_line += "\\t"; break;
        case '\n': m_line += "\\n"; break;
        case '\r': m_line += "\\r"; break;
        case '\\': m_line += "\\\\"; break;
        case '\0': m_line += "\\0"; break;
        default: m_line += c;
        }
    }
}

void CTsvWriter::EndLine() {
    m_line += m_lineEnd;
    m_out.AppendText(m_line);
}
