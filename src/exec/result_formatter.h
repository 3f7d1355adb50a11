#pragma once

#include "db/db_statement.h"
#include "exec/output_sink.h"
#include "exec/run_control.h"

// Writes the open result set of one statement as a fixed-width text table:
// "\r\n", the header of column names, the dashed underline, one line per row
// and "%d row(s) fetched\r\n". Column widths and cuts count display columns
// of UTF-8 text. A failing describe or bind throws with the output written so
// far left in place; a fetch error prints the rows fetched and their count
// line, then throws.
//
// With a run control the rows are counted there, and a requested stop ends
// the table after the rows fetched so far (with their count line).
class CResultFormatter {
public:
    CResultFormatter(int defColLen, int maxColLen, CRunControl* control = nullptr);
    void Print(CDbStatement& statement, COutputSink& output);

private:
    int m_nDefColLen;
    int m_nMaxColLen;
    CRunControl* m_pControl;
};
