#pragma once

#include "exec/result_printer.h"
#include "exec/result_writer.h"

// Hands every row of a result set, whole, to a data writer (on an output of
// its own), and puts in the transcript what stands for the table: "\r\n" and
// the "N row(s) fetched" line, also after a fetch error or a stop.
class CDataPrinter : public CResultPrinter {
public:
    explicit CDataPrinter(CResultWriter& writer) noexcept : m_writer(writer) {}

    void Print(CDbStatement& result, std::string_view statement, CRunControl* control,
               COutputSink& transcript) override;

private:
    CResultWriter& m_writer;
};
