#include "app/frame_run_host.h"

#include "app/ui_text.h"
#include "panes/output_pane.h"

#include <wx/frame.h>
#include <wx/statusbr.h>

CFrameRunHost::CFrameRunHost(wxFrame& frame, COutputPane& output, CPane& script, bool live)
    : m_frame(frame), m_output(output), m_script(script), m_bLive(live) {}

void CFrameRunHost::SetStatusText(const std::string& text) {
    m_frame.SetStatusText(ToUiString(text));
    if (wxStatusBar* bar = m_frame.GetStatusBar()) {
        bar->Refresh();
        bar->Update();
    }
}

CFrameRunHost::~CFrameRunHost() {
    try {
        while (m_nSuspended > 0) ResumeOutputRedraw();
    } catch (...) {
        // Out of memory putting the last text in; the pane is thawed anyway.
    }
}

void CFrameRunHost::SuspendOutputRedraw() {
    if (m_bLive) return;
    m_output.SuspendRedraw();
    ++m_nSuspended;
}

void CFrameRunHost::ResumeOutputRedraw() {
    if (m_nSuspended == 0) return;
    --m_nSuspended;
    m_output.ResumeRedraw();
}

void CFrameRunHost::RepaintOutput() {
    if (!m_bLive) m_output.RepaintNow();
}

void CFrameRunHost::SelectAllScript() { m_script.SetSelection(0, -1); }
