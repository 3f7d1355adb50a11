#include "exec/worker_output.h"

#include "exec/worker_run.h"

void CWorkerOutput::AppendText(std::string_view text) { m_run.Append(text); }

int CWorkerOutput::WrapWidth() const { return m_run.WrapWidth(); }
