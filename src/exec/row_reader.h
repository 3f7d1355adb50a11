#pragma once

#include "db/db_statement.h"
#include "exec/result_writer.h"

#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <vector>

// Reads the rows of an open result set with every value whole, however long.
// Where the driver's SQLGetData reads bound columns, every column is bound to
// a buffer of its reported size (as fast as the table's fetch loop), and only
// a value the buffer cut is read again whole with SQLGetData; elsewhere every
// value is read with SQLGetData. Buffers are made once per result set: rows
// cost no allocations, except for a value longer than any before it in its
// column.
class CRowReader {
public:
    // Describes and binds the columns; throws CDBException as the driver fails.
    explicit CRowReader(CDbStatement& statement);

    const std::vector<ResultColumn>& Columns() const noexcept { return m_columns; }

    // The next row; false after the last. Throws CDBException on a fetch error.
    bool Next();

    // The current row's values, valid until the next call of Next.
    std::span<const ResultValue> Row() const noexcept { return m_row; }

private:
    CDbStatement& m_statement;
    std::vector<ResultColumn> m_columns;
    bool m_bBound = false;
    std::vector<std::size_t> m_offsets;     // of each column's buffer in m_buffers
    std::vector<std::size_t> m_sizes;       // of each column's buffer
    std::unique_ptr<char[]> m_buffers;
    std::vector<SQLLEN> m_indicators;
    std::vector<std::string> m_whole;       // values read with SQLGetData
    std::vector<ResultValue> m_row;
};
