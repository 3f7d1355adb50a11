#include "worksheet_fixture.h"

#include <wx/docview.h>
#include <wx/stc/stc.h>

void WorksheetTest::SetUp() {
    m_pManager = new wxDocManager;
    new wxDocTemplate(m_pManager, "Script Files (*.sql)", "*.sql", "", "sql", "Tarnwl", "Tarnwl",
                      wxCLASSINFO(CScript), wxCLASSINFO(CScriptPane));
    m_pFrame = new wxDocParentFrame(m_pManager, nullptr, wxID_ANY, "worksheet", wxDefaultPosition, wxSize(800, 600));
    CPane::SetTemplateParent(m_pFrame);
    m_pScript = wxDynamicCast(m_pManager->CreateDocument(wxString(), wxDOC_NEW), CScript);
    CPane::SetTemplateParent(nullptr);
    ASSERT_NE(m_pScript, nullptr);
    m_pScriptPane = wxDynamicCast(m_pScript->GetFirstView(), CScriptPane);
    ASSERT_NE(m_pScriptPane, nullptr);
    m_pOutputPane = new COutputPane;
    m_pOutputPane->SetDocument(m_pScript);
    ASSERT_TRUE(m_pOutputPane->Create(m_pFrame));
    m_pOutputPane->GetControl()->SetSize(0, 0, 600, 200);
    m_pScriptPane->GetControl()->SetSize(0, 200, 600, 300);
    m_pFrame->Show();
    gui_env::Pump();
    m_pScriptPane->Activate(true);
}

void WorksheetTest::TearDown() {
    if (m_pScript != nullptr) m_pScript->Modify(false);
    // The frame goes first (its event routing uses the manager); closing the
    // document then deletes the views, whose controls are gone already.
    if (m_pFrame != nullptr) m_pFrame->Destroy();
    gui_env::Pump();
    delete m_pManager;
}

void WorksheetTest::Key(int code, wxEventType type) {
    wxKeyEvent key(type);
    key.m_keyCode = code;
    key.m_uniChar = static_cast<wxChar>(code);
    key.SetEventObject(m_pScriptPane->GetControl());
    m_pScriptPane->GetControl()->ProcessWindowEvent(key);
}

bool WorksheetTest::IsEnabled(int id) {
    wxUpdateUIEvent update(id);
    update.SetEventObject(m_pFrame);
    m_pFrame->ProcessWindowEvent(update);
    return update.GetSetEnabled() && update.GetEnabled();
}

void WorksheetTest::Run(int id) {
    wxCommandEvent command(wxEVT_MENU, id);
    command.SetEventObject(m_pFrame);
    m_pFrame->ProcessWindowEvent(command);
}
