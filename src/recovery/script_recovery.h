#pragma once

#include "recovery/recovery_schedule.h"
#include "recovery/recovery_writer.h"

#include <wx/timer.h>

#include <functional>
#include <string>

class CScript;
class wxWindow;

// Keeps a window's modified script in its recovery file: while the script
// is modified a timer looks at it every second, the schedule decides
// whether its text goes out, and the writer writes it off the window
// thread. The file goes as soon as the script is unmodified (saved, New,
// Open, or its changes discarded) and when this object goes (a clean end).
class CScriptRecovery {
public:
    // script: the window's script now (none once it is gone). report shows
    // a message in the window (the first write that failed).
    CScriptRecovery(const std::string& folder, std::function<CScript*()> script,
                    std::function<void(const wxString&)> report, wxWindow& window);
    ~CScriptRecovery();
    CScriptRecovery(const CScriptRecovery&) = delete;
    CScriptRecovery& operator=(const CScriptRecovery&) = delete;

    // The script's modified flag changed.
    void ScriptModified(bool modified);
    // Where this window's recovery file is written.
    std::string FilePath() const { return m_writer.Slot().DataPath(); }

private:
    void OnTimer(wxTimerEvent& event);

    std::function<CScript*()> m_script;
    wxWindow& m_window;
    std::function<void(const wxString&)> m_report;
    CRecoverySchedule m_schedule;
    CRecoveryWriter m_writer;
    wxTimer m_timer;
};
