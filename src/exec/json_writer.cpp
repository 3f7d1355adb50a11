#include "exec/json_writer.h"

#include "common/display_text.h"

namespace {

bool IsDigit(char c) noexcept { return c >= '0' && c <= '9'; }

// Moves past the digits at the start of text; false when there is none.
bool SkipDigits(std::string_view& text) noexcept {
    std::size_t n = 0;
    while (n < text.size() && IsDigit(text[n])) ++n;
    text.remove_prefix(n);
    return n > 0;
}

}  // namespace

bool CJsonWriter::IsJsonNumber(std::string_view text) noexcept {
    if (text.starts_with('-')) text.remove_prefix(1);
    if (text.starts_with('0'))
        text.remove_prefix(1);
    else if (!SkipDigits(text))
        return false;
    if (text.starts_with('.')) {
        text.remove_prefix(1);
        if (!SkipDigits(text)) return false;
    }
    if (text.starts_with('e') || text.starts_with('E')) {
        text.remove_prefix(1);
        if (text.starts_with('+') || text.starts_with('-')) text.remove_prefix(1);
        if (!SkipDigits(text)) return false;
    }
    return text.empty();
}

void CJsonWriter::BeginResult(std::string_view statement, const std::vector<ResultColumn>& columns) {
    m_numeric.assign(columns.size(), false);
    m_line = "{\"statement\": ";
    PutString(statement);
    m_line += ", \"columns\": [";
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (i > 0) m_line += ", ";
        PutString(columns[i].name);
        m_numeric[i] = columns[i].IsNumeric();
    }
    m_line += "], \"rows\": [";
    m_out.AppendText(m_line);
    m_bFirstRow = true;
}

void CJsonWriter::WriteRow(std::span<const ResultValue> row) {
    m_line.assign(m_bFirstRow ? "[" : ", [");
    m_bFirstRow = false;
    for (std::size_t i = 0; i < row.size(); ++i) {
        if (i > 0) m_line += ", ";
        if (!row[i])
            m_line += "null";
        else if (i < m_numeric.size() && m_numeric[i] && IsJsonNumber(*row[i]))
            m_line += *row[i];
        else
            PutString(*row[i]);
    }
    m_line += ']';
    m_out.AppendText(m_line);
}

void CJsonWriter::EndResult() {
    m_line.assign("]}");
    m_line += m_lineEnd;
    m_out.AppendText(m_line);
}

void CJsonWriter::PutString(std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    const auto putEscape = [this](unsigned char byte) {
        m_line += "\\u00";
        m_line += kHex[byte >> 4];
        m_line += kHex[byte & 0xF];
    };
    m_line += '"';
    while (!text.empty()) {
        const unsigned char c = static_cast<unsigned char>(text.front());
        std::size_t length = 1;
        if (c == '"' || c == '\\') {
            m_line += '\\';
            m_line += static_cast<char>(c);
        } else if (c == '\n') {
            m_line += "\\n";
        } else if (c == '\r') {
            m_line += "\\r";
        } else if (c == '\t') {
            m_line += "\\t";
        } else if (c < 0x20) {
            putEscape(c);
        } else if (c < 0x80) {
            m_line += static_cast<char>(c);
        } else if ((length = display_text::SequenceLength(text)) > 0) {
            m_line.append(text.substr(0, length));
        } else {
            length = 1;
            putEscape(c);
        }
        text.remove_prefix(length);
    }
    m_line += '"';
}
