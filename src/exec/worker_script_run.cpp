#include "exec/worker_script_run.h"

#include "exec/worker_output.h"
#include "exec/worker_run.h"
#include "exec/worker_run_host.h"
#include "exec/worker_statement_source.h"

RunSummary RunScriptOnWorker(CDbConnection& connection, CHistoryList& history, COutputSink& output, CRunHost& host,
                             CStatementSource& script, const CSettingsRecord& settings) {
    CWorkerRun run(output);
    CWorkerOutput workerOutput(run);
    CWorkerRunHost workerHost(run, host);
    CWorkerStatementSource workerScript(run, script);
    RunSummary summary;
    run.Run([&] { summary = CScriptRunner(connection, history, workerOutput, workerHost).Run(workerScript, settings); });
    return summary;
}
