#pragma once

#include "exec/run_host.h"

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
    CFrameRunHost(wxFrame& frame, COutputPane& output, CPane& script, bool live = false);
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

private:
    wxFrame& m_frame;
    COutputPane& m_output;
    CPane& m_script;
    int m_nSuspended = 0;
    bool m_bLive;
};
