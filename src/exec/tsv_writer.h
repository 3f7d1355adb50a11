#pragma once

#include "exec/result_writer.h"

#include <string>

// Tab-separated values: per result set a header line of the column names,
// then one line per row, fields separated by tabs. Inside a field a tab,
// line feed, carriage return, backslash and NUL are written as \t, \n, \r,
// \\ and \0, so a line is always one row; NULL is \N, and an empty string an
// empty field. Result sets follow each other without a separating line.
class CTsvWriter : public CResultWriter {
public:
    CTsvWriter(COutputSink& out, const char* lineEnd) : m_out(out), m_lineEnd(lineEnd) {}

    void BeginResult(std::string_view statement, const std::vector<ResultColumn>& columns) override;
    void WriteRow(std::span<const ResultValue> row) override;
    void EndResult() override {}

private:
    void PutField(std::string_view value);
    void EndLine();

    COutputSink& m_out;
    const char* m_lineEnd;
    std::string m_line;   // the line being built, kept for the next
};
