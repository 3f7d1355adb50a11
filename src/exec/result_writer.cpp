#include "exec/result_writer.h"

#include "exec/csv_writer.h"
#include "exec/json_writer.h"
#include "exec/markdown_writer.h"
#include "exec/tsv_writer.h"

#include <sqlext.h>

bool ResultColumn::IsNumeric() const noexcept {
    switch (type) {
    case SQL_TINYINT:
    case SQL_SMALLINT:
    case SQL_INTEGER:
    case SQL_BIGINT:
    case SQL_DECIMAL:
    case SQL_NUMERIC:
    case SQL_REAL:
    case SQL_FLOAT:
    case SQL_DOUBLE:
        return true;
    default:
        return false;
    }
}

std::optional<ResultFormat> CResultWriter::FormatNamed(std::string_view name) {
    if (name == "table") return ResultFormat::kTable;
    if (name == "csv") return ResultFormat::kCsv;
    if (name == "tsv") return ResultFormat::kTsv;
    if (name == "json") return ResultFormat::kJson;
    if (name == "markdown") return ResultFormat::kMarkdown;
    return std::nullopt;
}

std::unique_ptr<CResultWriter> CResultWriter::Create(ResultFormat format, COutputSink& out, bool lfLineEnds,
                                                     const std::string& nullText) {
    const char* const lineEnd = lfLineEnds ? "\n" : "\r\n";
    switch (format) {
    case ResultFormat::kTable:
        return nullptr;
    case ResultFormat::kCsv:
        return std::make_unique<CCsvWriter>(out, lineEnd);
    case ResultFormat::kTsv:
        return std::make_unique<CTsvWriter>(out, lineEnd);
    case ResultFormat::kJson:
        return std::make_unique<CJsonWriter>(out, lineEnd);
    case ResultFormat::kMarkdown:
        return std::make_unique<CMarkdownWriter>(out, lineEnd, nullText);
    }
    return nullptr;
}
