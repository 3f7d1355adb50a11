#pragma once

#include "exec/run_host.h"

#include <string>
#include <vector>

// A run host that writes each call into an event log: "status:<text>",
// "suspend", "resume", "repaint", "select-all".
class CRecordingHost : public CRunHost {
public:
    explicit CRecordingHost(std::vector<std::string>& events) : m_events(events) {}

    void SetStatusText(const std::string& text) override { m_events.push_back("status:" + text); }
    void SuspendOutputRedraw() override { m_events.push_back("suspend"); }
    void ResumeOutputRedraw() override { m_events.push_back("resume"); }
    void RepaintOutput() override { m_events.push_back("repaint"); }
    void SelectAllScript() override { m_events.push_back("select-all"); }
    // Kept apart from the event log, which other tests compare whole.
    void StatementRan(const CRunMap::Statement& statement) override { m_statements.Add(statement); }

    CRunMap m_statements;

private:
    std::vector<std::string>& m_events;
};
