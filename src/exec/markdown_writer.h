#pragma once

#include "exec/result_writer.h"

#include <string>

// A pipe table (as GitHub and CommonMark renderers with tables read it) per
// result set: a header row of the column names, the delimiter row (numeric
// columns aligned right), one row per row, and a blank line between tables.
// Inside a cell "|" and "\" are escaped with a backslash, a line break
// (CRLF, LF or CR) becomes <br>, and NUL becomes U+FFFD, as renderers would
// show it. NULL is written as the NULL text (empty by default).
class CMarkdownWriter : public CResultWriter {
public:
    CMarkdownWriter(COutputSink& out, const char* lineEnd, std::string nullText)
        : m_out(out), m_lineEnd(lineEnd), m_strNullText(std::move(nullText)) {}

    void BeginResult(std::string_view statement, const std::vector<ResultColumn>& columns) override;
    void WriteRow(std::span<const ResultValue> row) override;
    void EndResult() override {}

private:
    void PutCell(std::string_view value);
    void EndLine();

    COutputSink& m_out;
    const char* m_lineEnd;
    std::string m_strNullText;
    bool m_bFirstTable = true;
    std::string m_line;   // the row being built, kept for the next
};
