#include "exec/worker_script_run.h"

CWorkerScriptRun::CWorkerScriptRun(CDbConnection& connection, CHistoryList& history, COutputSink& output,
                                   CRunHost& host, CStatementSource& script, const CSettingsRecord& settings,
                                   std::function<void()> wake)
    : m_connection(connection),
      m_history(history),
      m_settings(settings),
      m_run(output, std::move(wake)),
      m_output(m_run),
      m_host(m_run, host),
      m_script(m_run, script) {}

void CWorkerScriptRun::Start() {
    m_control.BeginRun();
    m_run.Start([this] { RunScript(); });
}

RunSummary CWorkerScriptRun::Run() {
    m_control.BeginRun();
    m_run.Run([this] { RunScript(); });
    return m_summary;
}

void CWorkerScriptRun::RunScript() {
    CScriptRunner runner(m_connection, m_history, m_output, m_host);
    runner.SetControl(&m_control);
    runner.SetRecorder(m_pRecorder);
    runner.SetReconnect(m_reconnect);
    m_summary = m_transactionEnd ? runner.EndTransaction(*m_transactionEnd, m_settings)
                                 : runner.Run(m_script, m_settings);
}

RunSummary CWorkerScriptRun::Finish() {
    m_run.Finish();
    return m_summary;
}

RunSummary RunScriptOnWorker(CDbConnection& connection, CHistoryList& history, COutputSink& output, CRunHost& host,
                             CStatementSource& script, const CSettingsRecord& settings) {
    return CWorkerScriptRun(connection, history, output, host, script, settings).Run();
}
