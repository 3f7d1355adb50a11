#pragma once

#include "exec/run_map.h"

#include <string>

// What a run needs from the window around it. The console runner and the
// tests give empty implementations.
class CRunHost {
public:
    virtual ~CRunHost() = default;
    // The status bar's message text ("Executing...", then "").
    virtual void SetStatusText(const std::string& text) = 0;
    // Redraw suspension of the output pane around one statement; Resume
    // repaints at once.
    virtual void SuspendOutputRedraw() = 0;
    virtual void ResumeOutputRedraw() = 0;
    // Repaints the output pane at once.
    virtual void RepaintOutput() = 0;
    // Selects all of the script pane's text (end of a run).
    virtual void SelectAllScript() = 0;
    // A statement ran: where it stands in the run's text and in the run's
    // output (offsets from their starts), and how it ended. For the window's
    // marks; nobody else needs it.
    virtual void StatementRan(const CRunMap::Statement& /*statement*/) {}
};
