#pragma once

#include "exec/result_writer.h"

#include <string>

// CSV as RFC 4180 has it: per result set a header record of the column names,
// then one record per row, fields separated by commas. A field is quoted
// (and its quotes doubled) when it holds a comma, a quote, CR or LF, and
// when it is an empty string: NULL is the empty field without quotes. Every
// other byte, NUL and bytes that are not UTF-8 included, is written as it is.
// Result sets follow each other without a separating line.
class CCsvWriter : public CResultWriter {
public:
    CCsvWriter(COutputSink& out, const char* lineEnd) : m_out(out), m_lineEnd(lineEnd) {}

    void BeginResult(std::string_view statement, const std::vector<ResultColumn>& columns) override;
    void WriteRow(std::span<const ResultValue> row) override;
    void EndResult() override {}

private:
    void PutField(std::string_view value);
    void EndLine();

    COutputSink& m_out;
    const char* m_lineEnd;
    std::string m_line;   // the record being built, kept for the next
};
