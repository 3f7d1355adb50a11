#pragma once

#include "panes/output_pane.h"
#include "panes/script_pane.h"
#include "script/script.h"
#include "support/gui_env.h"
#include "support/test_env.h"

#include <gtest/gtest.h>
#include <wx/event.h>

#include <string>

class wxDocManager;
class wxDocParentFrame;

// A shown document frame holding the two panes of one script document, as
// the worksheet arranges them: the script pane made by the document
// template, the output pane added as a second view.
class WorksheetTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Sends the script pane a key event (wxEVT_CHAR: a character typed) as
    // the keyboard would.
    void Key(int code, wxEventType type = wxEVT_CHAR);
    // Whether the frame's command routing enables command id.
    bool IsEnabled(int id);
    // Runs command id through the frame's command routing.
    void Run(int id);

    wxDocManager* m_pManager = nullptr;
    wxDocParentFrame* m_pFrame = nullptr;
    CScript* m_pScript = nullptr;
    CScriptPane* m_pScriptPane = nullptr;
    COutputPane* m_pOutputPane = nullptr;
};
