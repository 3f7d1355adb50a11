#include "exec/worker_run_host.h"

#include "exec/worker_run.h"

void CWorkerRunHost::SetStatusText(const std::string& text) {
    m_run.Post([&host = m_host, text] { host.SetStatusText(text); });
}

void CWorkerRunHost::SuspendOutputRedraw() {
    m_run.Post([&host = m_host] { host.SuspendOutputRedraw(); });
}

void CWorkerRunHost::ResumeOutputRedraw() {
    m_run.Post([&host = m_host] { host.ResumeOutputRedraw(); });
}

void CWorkerRunHost::RepaintOutput() {
    m_run.Post([&host = m_host] { host.RepaintOutput(); });
}

void CWorkerRunHost::SelectAllScript() {
    m_run.Post([&host = m_host] { host.SelectAllScript(); });
}

void CWorkerRunHost::StatementRan(const CRunMap::Statement& statement) {
    m_run.Post([&host = m_host, statement] { host.StatementRan(statement); });
}
