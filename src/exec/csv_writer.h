#pragma once

#include "exec/delimited_writer.h"

// CSV as RFC 4180 has it: per result set a header record of the column names,
// then one record per row, fields separated by commas. A field is quoted
// (and its quotes doubled) when it holds a comma, a quote, CR or LF, and
// when it is an empty string: NULL is the empty field without quotes. Every
// other byte, NUL and bytes that are not UTF-8 included, is written as it is.
// Result sets follow each other without a separating line.
class CCsvWriter : public CDelimitedWriter {
public:
    CCsvWriter(COutputSink& out, const char* lineEnd) : CDelimitedWriter(out, lineEnd, ',') {}

protected:
    void PutField(std::string& line, std::string_view value) override;
    void PutNull(std::string&) override {}
};
