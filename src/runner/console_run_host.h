#pragma once

#include "exec/run_host.h"
#include "runner/console_sink.h"

// The window around a run, without a window: status text, redraw suspension
// and selection do nothing. Where the worksheet repaints its output pane
// (after each statement, and after "Executing..."), the console may flush
// its sinks, so a terminal shows the transcript as the statements finish.
class CConsoleRunHost : public CRunHost {
public:
    // The sinks flushed at every repaint, in this order; null to keep the
    // large buffer (output to a file or a pipe).
    explicit CConsoleRunHost(CConsoleSink* sinkToFlush = nullptr, CConsoleSink* secondSinkToFlush = nullptr) noexcept
        : m_pSink(sinkToFlush), m_pSecondSink(secondSinkToFlush) {}

    void SetStatusText(const std::string&) override {}
    void SuspendOutputRedraw() override {}
    void ResumeOutputRedraw() override { RepaintOutput(); }
    void RepaintOutput() override {
        if (m_pSink) m_pSink->Flush();
        if (m_pSecondSink) m_pSecondSink->Flush();
    }
    void SelectAllScript() override {}

private:
    CConsoleSink* m_pSink;
    CConsoleSink* m_pSecondSink;
};
