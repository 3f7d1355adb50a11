#pragma once

#include "exec/run_host.h"

class CWorkerRun;

// The window's run host as a job on a worker run sees it: every call is
// handed over to the window thread, in order with the appends, and the job
// goes on without waiting for it.
class CWorkerRunHost : public CRunHost {
public:
    CWorkerRunHost(CWorkerRun& run, CRunHost& host) : m_run(run), m_host(host) {}

    void SetStatusText(const std::string& text) override;
    void SuspendOutputRedraw() override;
    void ResumeOutputRedraw() override;
    void RepaintOutput() override;
    void SelectAllScript() override;
    void StatementRan(const CRunMap::Statement& statement) override;

private:
    CWorkerRun& m_run;
    CRunHost& m_host;
};
