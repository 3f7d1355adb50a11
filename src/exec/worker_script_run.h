#pragma once

#include "exec/script_runner.h"

// CScriptRunner::Run with the statements executed and their rows formatted
// on a worker thread, while the calling thread puts the transcript into
// output and carries out host's calls, all in the order of the plain run.
// Returns when the run is over; output and host see exactly what they see
// from CScriptRunner::Run, except that appends arrive joined into larger
// pieces.
RunSummary RunScriptOnWorker(CDbConnection& connection, CHistoryList& history, COutputSink& output, CRunHost& host,
                             CStatementSource& script, const CSettingsRecord& settings);
