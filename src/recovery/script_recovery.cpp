#include "recovery/script_recovery.h"

#include "script/script.h"

#include <wx/window.h>

#include <chrono>
#include <ctime>

namespace {

constexpr int kTickMilliseconds = 1000;

}  // namespace

CScriptRecovery::CScriptRecovery(const std::string& folder, std::function<CScript*()> script,
                                 std::function<void(const wxString&)> report, wxWindow& window)
    : m_script(std::move(script)),
      m_window(window),
      m_report(std::move(report)),
      m_writer(folder, [this](const std::string& message) {
          // On the writer's thread: the window shows it on its own.
          m_window.CallAfter([this, message] {
              m_report(wxString::FromUTF8("The unsaved script cannot be kept for recovery: " + message));
          });
      }) {
    m_timer.Bind(wxEVT_TIMER, &CScriptRecovery::OnTimer, this);
    if (CScript* current = m_script(); current != nullptr && current->IsModified()) ScriptModified(true);
}

CScriptRecovery::~CScriptRecovery() { m_timer.Stop(); }

void CScriptRecovery::ScriptModified(bool modified) {
    if (modified) {
        if (!m_timer.IsRunning()) m_timer.Start(kTickMilliseconds);
        return;
    }
    m_timer.Stop();
    m_schedule.Reset();
    m_writer.Remove();
}

void CScriptRecovery::OnTimer(wxTimerEvent&) {
    const auto now = CRecoverySchedule::Clock::now();
    CScript* script = m_script();
    if (script == nullptr || !script->IsModified() || !m_schedule.IsDue(now)) return;
    CRecoveryRecord record;
    record.text = script->PaneText();
    if (!m_schedule.TakeText(now, record.text)) return;
    const wxString file = script->GetFilename();
    const auto path = file.fn_str();   // points into file
    record.documentPath.assign(path.data(), path.length());
    record.time = static_cast<std::int64_t>(std::time(nullptr));
    m_writer.Write(std::move(record));
}
