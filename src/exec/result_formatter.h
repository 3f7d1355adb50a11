#pragma once

#include "db/db_statement.h"
#include "exec/output_sink.h"
#include "exec/run_control.h"

#include <cstdint>
#include <string_view>

// Writes the open result set of one statement as a fixed-width text table:
// "\r\n", the header of column names, the dashed underline, one line per row
// and "%d row(s) fetched\r\n". Column widths and cuts count display columns
// of UTF-8 text. A failing describe or bind throws with the output written so
// far left in place; a fetch error prints the rows fetched and their count
// line, then throws.
//
// With a run control the rows are counted there, and a requested stop ends
// the table after the rows fetched so far (with their count line).
//
// NULL shows as nullText, cut to the column's width like any value; an empty
// nullText leaves NULL blank. A value never passes as NULL unless it is the
// NULL text itself, shown whole: a value cut to the width (or by the
// driver's buffer), or one that reads like a NULL text that was cut, gets its
// last column replaced by '~' where its cell would read exactly like the
// NULL cell ('>' when the NULL cell has '~' there).
class CResultFormatter {
public:
    CResultFormatter(int defColLen, int maxColLen, CRunControl* control = nullptr, std::string_view nullText = {});
    void Print(CDbStatement& statement, COutputSink& output);

    // "%d row(s) fetched\r\n".
    static void AppendRowCount(COutputSink& output, std::int64_t rows);

private:
    int m_nDefColLen;
    int m_nMaxColLen;
    CRunControl* m_pControl;
    std::string_view m_nullText;
};
