#include "exec/data_printer.h"

#include "db/db_exception.h"
#include "exec/result_formatter.h"
#include "exec/row_reader.h"

#include <cstdint>

void CDataPrinter::Print(CDbStatement& result, std::string_view statement, CRunControl* control,
                         COutputSink& transcript) {
    transcript.AppendText("\r\n");
    CRowReader reader(result);
    m_writer.BeginResult(statement, reader.Columns());

    std::int64_t rows = 0;
    if (control) control->BeginResult();
    const auto stopped = [control] { return control && control->StopRequested() != CRunControl::Stop::None; };
    try {
        while (!stopped() && reader.Next()) {
            m_writer.WriteRow(reader.Row());
            ++rows;
            if (control) control->CountRow();
        }
    } catch (const CDBException&) {
        m_writer.EndResult();
        CResultFormatter::AppendRowCount(transcript, rows);
        throw;
    }
    m_writer.EndResult();
    CResultFormatter::AppendRowCount(transcript, rows);
}
