#include "exec/row_reader.h"

#include <algorithm>

namespace {

// A bound buffer holds a value of the column's reported size in up to four
// bytes a character, and the NUL; longer values are read again whole. The
// limits keep the driver's copying per fetch small (some fill the whole
// buffer on every row).
std::size_t BufferSize(SQLULEN columnSize) {
    constexpr std::size_t kUnknown = 256;
    constexpr std::size_t kSmallest = 32;
    constexpr std::size_t kLargest = 4096;
    if (columnSize == 0) return kUnknown;
    if (columnSize >= kLargest) return kLargest;
    return std::clamp(static_cast<std::size_t>(columnSize) * 4 + 1, kSmallest, kLargest);
}

}  // namespace

CRowReader::CRowReader(CDbStatement& statement) : m_statement(statement) {
    const std::size_t count = static_cast<std::size_t>(std::max(0, statement.GetColumnCount()));
    m_columns.reserve(count);
    m_sizes.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        ColumnDescription description = statement.Describe(static_cast<int>(i + 1));
        m_sizes.push_back(BufferSize(description.size));
        m_columns.push_back(ResultColumn{std::move(description.name), description.type});
    }
    m_whole.resize(count);
    m_row.resize(count);

    m_bBound = statement.GetsDataOnBound();
    if (!m_bBound) return;
    m_offsets.resize(count);
    std::size_t total = 0;
    for (std::size_t i = 0; i < count; ++i) {
        m_offsets[i] = total;
        total += m_sizes[i];
    }
    m_buffers = std::make_unique_for_overwrite<char[]>(std::max<std::size_t>(total, 1));
    m_indicators.resize(count);
    for (std::size_t i = 0; i < count; ++i)
        statement.BindColumn(static_cast<int>(i + 1), m_buffers.get() + m_offsets[i], static_cast<SQLLEN>(m_sizes[i]),
                             &m_indicators[i]);
}

bool CRowReader::Next() {
    if (!m_statement.Fetch()) return false;
    for (std::size_t i = 0; i < m_row.size(); ++i) {
        const int column = static_cast<int>(i + 1);
        if (!m_bBound) {
            m_row[i] = m_statement.GetData(column, m_whole[i]) ? ResultValue(m_whole[i]) : std::nullopt;
            continue;
        }
        const SQLLEN indicator = m_indicators[i];
        if (indicator == SQL_NULL_DATA) {
            m_row[i] = std::nullopt;
        } else if (indicator == SQL_NO_TOTAL || indicator < 0 || static_cast<std::size_t>(indicator) >= m_sizes[i]) {
            m_row[i] = m_statement.GetData(column, m_whole[i]) ? ResultValue(m_whole[i]) : std::nullopt;
        } else {
            m_row[i] = std::string_view(m_buffers.get() + m_offsets[i], static_cast<std::size_t>(indicator));
        }
    }
    return true;
}
