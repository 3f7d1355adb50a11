#pragma once

#include "exec/result_writer.h"

#include <string>
#include <vector>

// JSON lines: one document per result set, on one line,
//   {"statement": "...", "columns": ["...", ...], "rows": [[...], ...]}
// written row by row as the rows come. A value of a numeric column that is
// a JSON number as it stands is written as one; every other value (also
// "NaN", "Infinity" or ".5" of a numeric column) is a string, and NULL is
// null. Strings escape what JSON requires; a byte that is not part of valid
// UTF-8 is written as \u00XX of its own value (as Latin-1 would read it), so
// the output is always valid JSON, whatever the bytes.
class CJsonWriter : public CResultWriter {
public:
    CJsonWriter(COutputSink& out, const char* lineEnd) : m_out(out), m_lineEnd(lineEnd) {}

    void BeginResult(std::string_view statement, const std::vector<ResultColumn>& columns) override;
    void WriteRow(std::span<const ResultValue> row) override;
    void EndResult() override;

    // Whether text is a number in JSON's grammar.
    static bool IsJsonNumber(std::string_view text) noexcept;

private:
    void PutString(std::string_view text);

    COutputSink& m_out;
    const char* m_lineEnd;
    std::vector<bool> m_numeric;   // per column of the result set
    bool m_bFirstRow = true;
    std::string m_line;            // the piece being built, kept for the next
};
