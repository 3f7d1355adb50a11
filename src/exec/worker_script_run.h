#pragma once

#include "exec/run_control.h"
#include "exec/script_runner.h"
#include "exec/worker_output.h"
#include "exec/worker_run.h"
#include "exec/worker_run_host.h"
#include "exec/worker_statement_source.h"

#include <functional>
#include <optional>

// CScriptRunner::Run with the statements executed and their rows formatted
// on a worker thread, while the window thread puts the transcript into
// output and carries out host's calls, all in the order of the plain run:
// output and host see exactly what they see from CScriptRunner::Run, except
// that appends arrive joined into larger pieces. The run can be stopped
// through its control.
//
// The window thread starts it, pumps it whenever it likes (at once when wake
// is called, on the worker) and finishes it once Pump says it has ended, as
// CWorkerRun describes.
class CWorkerScriptRun {
public:
    CWorkerScriptRun(CDbConnection& connection, CHistoryList& history, COutputSink& output, CRunHost& host,
                     CStatementSource& script, const CSettingsRecord& settings, std::function<void()> wake = {});

    // Where the run records its history entry (CScriptRunner::SetRecorder);
    // called before Start.
    void SetRecorder(CHistoryRecorder* recorder) noexcept { m_pRecorder = recorder; }
    // What the run does when it finds the connection lost
    // (CScriptRunner::SetReconnect; called on the worker); called before Start.
    void SetReconnect(std::function<void()> reconnect) { m_reconnect = std::move(reconnect); }
    // The run ends the open transaction instead of running the script
    // (CScriptRunner::EndTransaction); called before Start.
    void SetTransactionEnd(TransactionEnd end) noexcept { m_transactionEnd = end; }

    CRunControl& Control() noexcept { return m_control; }
    const CRunControl& Control() const noexcept { return m_control; }

    // Begins the control's run and starts the worker.
    void Start();
    bool Pump(std::size_t maxBytes = SIZE_MAX) { return m_run.Pump(maxBytes); }
    bool HasWork() const { return m_run.HasWork(); }
    // What the run did; rethrows what the run threw.
    RunSummary Finish();
    // The blocking form: Start, pump until it has ended, Finish.
    RunSummary Run();
    void Abandon() { m_run.Abandon(); }

private:
    void RunScript();

    CDbConnection& m_connection;
    CHistoryList& m_history;
    CHistoryRecorder* m_pRecorder = nullptr;
    std::function<void()> m_reconnect;
    std::optional<TransactionEnd> m_transactionEnd;
    CSettingsRecord m_settings;   // a copy: the window may change its own meanwhile
    CRunControl m_control;
    CWorkerRun m_run;
    CWorkerOutput m_output;
    CWorkerRunHost m_host;
    CWorkerStatementSource m_script;
    RunSummary m_summary;
};

// The whole run on a worker, the calling thread pumping until it has ended.
RunSummary RunScriptOnWorker(CDbConnection& connection, CHistoryList& history, COutputSink& output, CRunHost& host,
                             CStatementSource& script, const CSettingsRecord& settings);
