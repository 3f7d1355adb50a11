#pragma once

#include "exec/result_writer.h"

#include <string>

// A format of one line per row, its fields separated by one byte: a header
// line of the column names, then a line per row. Each format writes a field
// and a NULL in its own way.
class CDelimitedWriter : public CResultWriter {
public:
    CDelimitedWriter(COutputSink& out, const char* lineEnd, char separator)
        : m_out(out), m_lineEnd(lineEnd), m_separator(separator) {}

    void BeginResult(std::string_view statement, const std::vector<ResultColumn>& columns) override;
    void WriteRow(std::span<const ResultValue> row) override;
    void EndResult() override {}

protected:
    // Appends the field, or NULL, to line.
    virtual void PutField(std::string& line, std::string_view value) = 0;
    virtual void PutNull(std::string& line) = 0;

private:
    void EndLine();

    COutputSink& m_out;
    const char* m_lineEnd;
    char m_separator;
    std::string m_line;   // the line being built, kept for the next
};
