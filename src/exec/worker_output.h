#pragma once

#include "exec/output_sink.h"

class CWorkerRun;

// The output as a job on a worker run sees it: appends are handed over to the
// window thread, the wrap width is asked there.
class CWorkerOutput : public COutputSink {
public:
    explicit CWorkerOutput(CWorkerRun& run) : m_run(run) {}

    void AppendText(std::string_view text) override;
    int WrapWidth() const override;

private:
    CWorkerRun& m_run;
};
