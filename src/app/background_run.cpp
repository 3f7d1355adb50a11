#include "app/background_run.h"

#include "app/ui_text.h"
#include "exec/run_progress_text.h"
#include "panes/output_pane.h"

#include <wx/frame.h>
#include <wx/stc/stc.h>

namespace {

// The pump's clock; the progress is shown every kProgressTicks of it.
constexpr int kPumpMilliseconds = 50;
constexpr int kProgressTicks = 5;
// A pump puts at most about this much text into the pane, so that the window
// handles its other events (timers, input, painting) in between.
constexpr std::size_t kPumpBytes = std::size_t{2} << 20;
// New text is drawn at least this often while a run keeps the window busy
// (see Pump).
constexpr auto kDrawInterval = std::chrono::milliseconds(100);
constexpr int kPumpTimerId = 1;
constexpr int kWakeTimerId = 2;

wxDEFINE_EVENT(EVT_RUN_WAKE, wxThreadEvent);

}  // namespace

CBackgroundRun::CBackgroundRun(wxFrame& frame, COutputPane& output, CPane& script, CDbConnection& connection,
                               CHistoryList& history, CStatementSource& source, const CSettingsRecord& settings,
                               std::function<void(std::exception_ptr)> finished, long ranFrom, long ranTo)
    : m_frame(frame),
      m_output(output),
      m_script(script),
      m_host(frame, output, script, true, ranFrom, ranTo),
      m_run(connection, history, output, m_host, source, settings,
            [this] {
                // On the worker: one wake-up event at a time is enough.
                if (!m_bWakePending.exchange(true)) QueueEvent(new wxThreadEvent(EVT_RUN_WAKE));
            }),
      m_finished(std::move(finished)),
      m_timer(this, kPumpTimerId),
      m_wakeTimer(this, kWakeTimerId) {
    Bind(wxEVT_TIMER, &CBackgroundRun::OnTimer, this, kPumpTimerId);
    Bind(wxEVT_TIMER, &CBackgroundRun::OnWakeTimer, this, kWakeTimerId);
    Bind(EVT_RUN_WAKE, &CBackgroundRun::OnWake, this);
}

CBackgroundRun::~CBackgroundRun() {
    m_timer.Stop();
    m_wakeTimer.Stop();
    // Pending wake-up events go with this handler.
}

void CBackgroundRun::Start(CRunMap* map, std::function<void()> mapChanged) {
    if (map != nullptr) map->Clear();
    m_host.SetRunMap(map, static_cast<std::size_t>(m_output.GetTextLength()), std::move(mapChanged));
    if (wxStyledTextCtrl* control = m_script.GetControl()) {
        m_bScriptWasReadOnly = control->GetReadOnly();
        control->SetReadOnly(true);
    }
    m_output.KeepUserPlace(true);
    m_lastDrawn = std::chrono::steady_clock::now();
    m_nDrawnLength = m_output.GetTextLength();
    m_run.Start();
    m_timer.Start(kPumpMilliseconds);
}

void CBackgroundRun::Cancel() {
    if (!m_bEnded) m_run.Control().RequestStop(CRunControl::Stop::User);
}

bool CBackgroundRun::CancelRequested() const {
    return m_run.Control().StopRequested() != CRunControl::Stop::None;
}

bool CBackgroundRun::DriverStuck() const {
    if (m_bEnded || !CancelRequested()) return false;
    return std::chrono::steady_clock::now() - m_run.Control().StopTime() >= kStuckAfter;
}

void CBackgroundRun::Abandon() {
    m_timer.Stop();
    m_wakeTimer.Stop();
    m_run.Abandon();
}

void CBackgroundRun::OnTimer(wxTimerEvent&) {
    Pump();
    if (!m_bEnded && ++m_nTicks % kProgressTicks == 0) ShowProgress();
}

// The pump for a wake-up waits for the event loop's next round: posted events
// are handled in a row until none is left, and a worker that fills the queue
// again during each pump would keep the window there, away from its timers,
// input and painting, until the run slowed down.
void CBackgroundRun::OnWake(wxThreadEvent&) {
    if (!m_bEnded && !m_wakeTimer.IsRunning()) m_wakeTimer.StartOnce(0);
}

void CBackgroundRun::OnWakeTimer(wxTimerEvent&) {
    m_bWakePending = false;
    Pump();
}

void CBackgroundRun::Pump() {
    if (m_bEnded) return;
    // Everything taken in one pump goes into the control at once.
    bool ended = false;
    std::exception_ptr failure;
    m_output.BeginBatch();
    try {
        ended = m_run.Pump(kPumpBytes);
    } catch (...) {
        failure = std::current_exception();
    }
    try {
        m_output.EndBatch();
    } catch (...) {
        if (!failure) failure = std::current_exception();
    }
    // Putting text into the pane failed (out of memory): reported at the end.
    if (failure && !m_failure) m_failure = failure;
    if (!ended) {
        DrawNewText();
        // More waits: the next pump comes after the events that wait now.
        if (m_run.HasWork() && !m_wakeTimer.IsRunning()) m_wakeTimer.StartOnce(0);
        return;
    }

    m_bEnded = true;
    failure = m_failure;
    m_timer.Stop();
    m_wakeTimer.Stop();
    try {
        m_summary = m_run.Finish();
    } catch (...) {
        failure = std::current_exception();
    }
    m_output.KeepUserPlace(false);
    if (wxStyledTextCtrl* control = m_script.GetControl()) control->SetReadOnly(m_bScriptWasReadOnly);
    m_finished(failure);
}

// While rows come faster than the pane takes them, one pump follows the
// other, and the toolkit, which draws only when no timer is due, would show
// the text only when the run slows down: the pump draws what is new itself,
// at most every kDrawInterval.
void CBackgroundRun::DrawNewText() {
    const auto now = std::chrono::steady_clock::now();
    const int length = m_output.GetTextLength();
    if (length == m_nDrawnLength || now - m_lastDrawn < kDrawInterval) return;
    m_output.RepaintNow();
    m_lastDrawn = now;
    m_nDrawnLength = length;
}

void CBackgroundRun::ShowProgress() {
    if (DriverStuck()) {
        m_frame.SetStatusText("Waiting for the driver to stop the statement...");
        return;
    }
    m_frame.SetStatusText(ToUiString(RunProgressText(m_run.Control().GetProgress())));
}
