#pragma once

#include "app/frame_run_host.h"
#include "exec/worker_script_run.h"

#include <wx/event.h>
#include <wx/timer.h>

#include <atomic>
#include <chrono>
#include <exception>
#include <functional>

class COutputPane;
class CPane;
class wxFrame;

// A run of the script that leaves the window live: the statements run on a
// worker thread, and this thread pumps what the run hands over into the
// output pane on a clock (and at once when the worker asks), so the window
// keeps repainting, resizing and scrolling, and the transcript shows as it
// grows. The status bar shows the progress four times a second, and says so
// when the driver has not stopped the statement five seconds after a
// cancel. The script pane is read-only while the run lasts; at the end the
// text that ran (ranFrom..ranTo of the script pane) is selected.
//
// finished is called on this thread once the run has ended and its last
// output is in the pane, with what it threw (none when it ended normally);
// the object may be deleted after that, but not from within the call.
class CBackgroundRun : public wxEvtHandler {
public:
    // A driver that has not returned this long after a cancel is taken as stuck.
    static constexpr auto kStuckAfter = std::chrono::seconds(5);

    CBackgroundRun(wxFrame& frame, COutputPane& output, CPane& script, CDbConnection& connection,
                   CHistoryList& history, CStatementSource& source, const CSettingsRecord& settings,
                   std::function<void(std::exception_ptr)> finished, long ranFrom = 0, long ranTo = -1);
    ~CBackgroundRun() override;
    CBackgroundRun(const CBackgroundRun&) = delete;
    CBackgroundRun& operator=(const CBackgroundRun&) = delete;

    // Where the run records its history entry (none: only the history
    // list gets it); called before Start.
    void SetRecorder(CHistoryRecorder* recorder) noexcept { m_run.SetRecorder(recorder); }
    // What the run does with a lost connection, and a run that ends the open
    // transaction instead (CWorkerScriptRun); called before Start.
    void SetReconnect(std::function<void()> reconnect) { m_run.SetReconnect(std::move(reconnect)); }
    void SetTransactionEnd(TransactionEnd end) noexcept { m_run.SetTransactionEnd(end); }
    // Starts the run; its statements go into map (from its start on), and
    // markChanged is called after each.
    void Start(CRunMap* map = nullptr, std::function<void()> mapChanged = {});
    // Cancels the run: SQLCancel on the running statement, nothing after it.
    void Cancel();
    bool CancelRequested() const;
    // Cancelled at least kStuckAfter ago and the driver has not returned.
    bool DriverStuck() const;
    // Leaves the worker to itself (the program is about to exit).
    void Abandon();
    // What the run did, once it has ended (for finished to read).
    const RunSummary& Summary() const noexcept { return m_summary; }

private:
    void Pump();
    void ShowProgress();
    void DrawNewText();
    void OnTimer(wxTimerEvent& event);
    void OnWake(wxThreadEvent& event);
    void OnWakeTimer(wxTimerEvent& event);

    wxFrame& m_frame;
    COutputPane& m_output;
    CPane& m_script;
    CFrameRunHost m_host;
    CWorkerScriptRun m_run;
    std::function<void(std::exception_ptr)> m_finished;
    wxTimer m_timer;
    wxTimer m_wakeTimer;   // a wake-up's pump, on the event loop's next round
    std::atomic<bool> m_bWakePending{false};
    int m_nTicks = 0;
    // When the pump last drew the output pane, and how long the text was.
    std::chrono::steady_clock::time_point m_lastDrawn;
    int m_nDrawnLength = 0;
    bool m_bEnded = false;
    bool m_bScriptWasReadOnly = false;
    std::exception_ptr m_failure;
    RunSummary m_summary;
};
