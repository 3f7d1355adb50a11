#pragma once

#include "exec/run_host.h"

#include <cstddef>
#include <functional>

class COutputPane;
class CPane;
class wxFrame;

// What a run needs of the window: the status-bar text, the output pane's
// redraw suspension and repaint, and select-all of the script pane.
class CFrameRunHost : public CRunHost {
public:
    // live: the window stays live during the run, whose output is put in and
    // repainted on a clock: the per-statement redraw suspension and the
    // repaints do nothing.
    // The end of the run selects ranFrom..ranTo of the script pane (-1: its
    // end), the text that ran.
    CFrameRunHost(wxFrame& frame, COutputPane& output, CPane& script, bool live = false, long ranFrom = 0,
                  long ranTo = -1);
    // Resumes the output pane's redrawing where a failed run left it
    // suspended, so the pane never stays frozen.
    ~CFrameRunHost() override;
    CFrameRunHost(const CFrameRunHost&) = delete;
    CFrameRunHost& operator=(const CFrameRunHost&) = delete;

    // Shown at once, so "Executing..." stands there while the run blocks
    // the window.
    void SetStatusText(const std::string& text) override;
    void SuspendOutputRedraw() override;
    void ResumeOutputRedraw() override;
    void RepaintOutput() override;
    void SelectAllScript() override;
    // Adds the statement to map at the places of the run's text in the
    // script pane and of its output in the output pane, then calls changed.
    void StatementRan(const CRunMap::Statement& statement) override;
    void SetRunMap(CRunMap* map, std::size_t outputBase, std::function<void()> changed);

private:
    wxFrame& m_frame;
    COutputPane& m_output;
    CPane& m_script;
    int m_nSuspended = 0;
    bool m_bLive;
    long m_nRanFrom, m_nRanTo;
    CRunMap* m_pRunMap = nullptr;
    std::size_t m_nOutputBase = 0;
    std::function<void()> m_mapChanged;
};
