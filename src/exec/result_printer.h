#pragma once

#include "db/db_statement.h"
#include "exec/output_sink.h"
#include "exec/run_control.h"

#include <string_view>

// What a script run does with a statement's result set when it is not to be
// the transcript's table: it is handed over here, with the statement's text.
// transcript is the run's output (echo, diagnostics); what the printer writes
// there stands where the table would. A fetch error is thrown after the
// printer has closed what it wrote. With a run control the rows are counted
// there, and a requested stop ends the rows early.
class CResultPrinter {
public:
    virtual ~CResultPrinter() = default;
    virtual void Print(CDbStatement& result, std::string_view statement, CRunControl* control,
                       COutputSink& transcript) = 0;
};
