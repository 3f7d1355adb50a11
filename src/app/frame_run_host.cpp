#include "app/frame_run_host.h"

#include "app/ui_text.h"
#include "panes/output_pane.h"

#include <wx/frame.h>
#include <wx/statusbr.h>

#include <utility>

CFrameRunHost::CFrameRunHost(wxFrame& frame, COutputPane& output, CPane& script, bool live, long ranFrom, long ranTo)
    : m_frame(frame), m_output(output), m_script(script), m_bLive(live), m_nRanFrom(ranFrom), m_nRanTo(ranTo) {}

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

void CFrameRunHost::SelectAllScript() { m_script.SetSelection(m_nRanFrom, m_nRanTo); }

void CFrameRunHost::SetRunMap(CRunMap* map, std::size_t outputBase, std::function<void()> changed) {
    m_pRunMap = map;
    m_nOutputBase = outputBase;
    m_mapChanged = std::move(changed);
}

void CFrameRunHost::StatementRan(const CRunMap::Statement& statement) {
    if (m_pRunMap == nullptr) return;
    CRunMap::Statement placed = statement;
    const auto scriptBase = static_cast<std::size_t>(m_nRanFrom);
    placed.scriptBegin += scriptBase;
    placed.scriptEnd += scriptBase;
    if (placed.errorEnd > placed.errorBegin) {
        placed.errorBegin += scriptBase;
        placed.errorEnd += scriptBase;
    }
    placed.outputBegin += m_nOutputBase;
    placed.outputEnd += m_nOutputBase;
    m_pRunMap->Add(std::move(placed));
    if (m_mapChanged) m_mapChanged();
}
