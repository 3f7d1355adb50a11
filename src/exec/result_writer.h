#pragma once

#include "exec/output_sink.h"

#include <sql.h>

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The forms a result set can be written in: the transcript's fixed-width
// table (written by CResultFormatter), or data for other programs.
enum class ResultFormat { kTable, kCsv, kTsv, kJson, kMarkdown };

// One column of a result set, for a writer.
struct ResultColumn {
    std::string name;
    SQLSMALLINT type = SQL_UNKNOWN_TYPE;   // the SQL data type

    // An exact or approximate number type (integers, DECIMAL, NUMERIC, REAL,
    // FLOAT, DOUBLE); BIT is not one.
    bool IsNumeric() const noexcept;
};

// One value of a row: its bytes, whole; no value for NULL.
using ResultValue = std::optional<std::string_view>;

// Writes result sets as data onto an output, each value whole and never cut,
// one line end ("\r\n", or "\n" when asked) after each line of the format.
// A result set is BeginResult, a WriteRow per row (one value per column), and
// EndResult, which also ends one that stopped early (a fetch error, a
// cancel), so that the output stays well-formed.
class CResultWriter {
public:
    virtual ~CResultWriter() = default;

    virtual void BeginResult(std::string_view statement, const std::vector<ResultColumn>& columns) = 0;
    virtual void WriteRow(std::span<const ResultValue> row) = 0;
    virtual void EndResult() = 0;

    // The format of a name ("table", "csv", "tsv", "json", "markdown").
    static std::optional<ResultFormat> FormatNamed(std::string_view name);

    // The writer of a data format onto out; none for kTable. nullText stands
    // for NULL where a format has no NULL of its own (markdown).
    static std::unique_ptr<CResultWriter> Create(ResultFormat format, COutputSink& out, bool lfLineEnds,
                                                 const std::string& nullText);
};
