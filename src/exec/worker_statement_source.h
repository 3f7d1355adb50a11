#pragma once

#include "exec/statement_source.h"

class CWorkerRun;

// The script as a job on a worker run sees it: the snapshot of the text is
// taken on the window thread (the script may live in a window); cutting the
// snapshot into statements is plain text work and stays on the worker.
class CWorkerStatementSource : public CStatementSource {
public:
    CWorkerStatementSource(CWorkerRun& run, CStatementSource& source) : m_run(run), m_source(source) {}

    void ResetReader() override;
    bool GetNextStatement(std::string& statement) override { return m_source.GetNextStatement(statement); }
    const std::string& ScriptText() const override { return m_source.ScriptText(); }
    StatementSpan LastSpan() const override { return m_source.LastSpan(); }

private:
    CWorkerRun& m_run;
    CStatementSource& m_source;
};
