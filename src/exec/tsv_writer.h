#pragma once

#include "exec/delimited_writer.h"

// Tab-separated values: per result set a header line of the column names,
// then one line per row, fields separated by tabs. Inside a field a tab,
// line feed, carriage return, backslash and NUL are written as \t, \n, \r,
// \\ and \0, so a line is always one row; NULL is \N, and an empty string an
// empty field. Result sets follow each other without a separating line.
class CTsvWriter : public CDelimitedWriter {
public:
    CTsvWriter(COutputSink& out, const char* lineEnd) : CDelimitedWriter(out, lineEnd, '\t') {}

protected:
    void PutField(std::string& line, std::string_view value) override;
    void PutNull(std::string& line) override { line += "\\N"; }
};
