#include "exec/worker_statement_source.h"

#include "exec/worker_run.h"

void CWorkerStatementSource::ResetReader() {
    m_run.Call([this] { m_source.ResetReader(); });
}
