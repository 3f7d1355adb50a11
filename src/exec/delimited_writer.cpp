#include "exec/delimited_writer.h"

void CDelimitedWriter::BeginResult(std::string_view, const std::vector<ResultColumn>& columns) {
    m_line.clear();
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (i > 0) m_line += m_separator;
        PutField(m_line, columns[i].name);
    }
    EndLine();
}

void CDelimitedWriter::WriteRow(std::span<const ResultValue> row) {
    m_line.clear();
    for (std::size_t i = 0; i < row.size(); ++i) {
        if (i > 0) m_line += m_separator;
        if (row[i])
            PutField(m_line, *row[i]);
        else
            PutNull(m_line);
    }
    EndLine();
}

void CDelimitedWriter::EndLine() {
    m_line += m_lineEnd;
    m_out.AppendText(m_line);
}
