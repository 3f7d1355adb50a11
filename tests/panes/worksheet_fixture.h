#pragma once

#include "panes/output_pane.h"
#include "panes/script_pane.h"
#include "script/script.h"
#include "support/gui_env.h"
#include "support/test_env.h"

#include <gtest/gtest.h>
#include <wx/docview.h>
#include <wx/event.h>
#include <wx/stc/stc.h>

#include <string>

// A shown document frame holding the two panes of one script document, as
// the worksheet arranges them: the script pane made by the document
// template, the output pane added as a second view.
class WorksheetTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_pManager = new wxDocManager;
        new wxDocTemplate(m_pManager, "Script Files (*.sql)", "*.sql", "", "sql", "Tarnwl", "Tarnwl",
                          wxCLASSINFO(CScript), wxCLASSINFO(CScriptPane));
        m_pFrame =
            new wxDocParentFrame(m_pManager, nullptr, wxID_ANY, "worksheet", wxDefaultPosition, wxSize(800, 600));
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
    void TearDown() override {
        if (m_pScript != nullptr) m_pScript->Modify(false);
        // The frame goes first (its event routing uses the manager); closing the
        // document then deletes the views, whose controls are gone already.
        if (m_pFrame != nullptr) m_pFrame->Destroy();
        gui_env::Pump();
        delete m_pManager;
    }

    // Sends the script pane a key event (wxEVT_CHAR: a character typed) as
    // the keyboard would.
    void Key(int code, wxEventType type = wxEVT_CHAR) {
        wxKeyEvent key(type);
        key.m_keyCode = code;
        key.m_uniChar = static_cast<wxChar>(code);
        key.SetEventObject(m_pScriptPane->GetControl());
        m_pScriptPane->GetControl()->ProcessWindowEvent(key);
    }
    // Whether the frame's command routing enables command id.
    bool IsEnabled(int id) {
        wxUpdateUIEvent update(id);
        update.SetEventObject(m_pFrame);
        m_pFrame->ProcessWindowEvent(update);
        return update.GetSetEnabled() && update.GetEnabled();
    }
    // Runs command id through the frame's command routing.
    void Run(int id) {
        wxCommandEvent command(wxEVT_MENU, id);
        command.SetEventObject(m_pFrame);
        m_pFrame->ProcessWindowEvent(command);
    }

    wxDocManager* m_pManager = nullptr;
    wxDocParentFrame* m_pFrame = nullptr;
    CScript* m_pScript = nullptr;
    CScriptPane* m_pScriptPane = nullptr;
    COutputPane* m_pOutputPane = nullptr;
};
