// The script pane as the document's view: the modified flag (a font change
// leaves it alone: see the main window's test of the pane font), the line
// ends that Enter and Paste make, and focus making it the active view.
#include "worksheet_fixture.h"

#include <wx/clipbrd.h>
#include <wx/dataobj.h>
#include <wx/docview.h>
#include <wx/stc/stc.h>

#include <functional>

using ScriptPaneTest = WorksheetTest;

TEST_F(ScriptPaneTest, ChangesOfTheTextMarkTheDocumentModified) {
    struct Case {
        const char* name;
        bool modifiedBefore;
        std::function<void()> action;
        bool modifiedAfter;
    };
    const Case cases[] = {
        {"typing", false, [&] { Key('x'); }, true},
        {"program sets the text", false, [&] { m_pScriptPane->SetText("select 2", false); }, true},
        {"replacement", false, [&] { m_pScriptPane->SetSelection(0, 1); m_pScriptPane->SetText("S", true); }, true},
        {"undo", false, [&] { Run(wxID_UNDO); }, true},
        {"selection and copy", false, [&] { m_pScriptPane->SetSelection(0, -1); Run(wxID_COPY); }, false},
        // Taking the document's text also clears what Undo would take back.
        {"document update", true, [&] { Key('a'); m_pScript->UpdateAllViews(); }, false},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        m_pScriptPane->GetControl()->SetText("select 1");
        m_pScript->Modify(test.modifiedBefore);
        test.action();
        EXPECT_EQ(m_pScript->IsModified(), test.modifiedAfter);
    }
    EXPECT_FALSE(IsEnabled(wxID_UNDO));
}

TEST_F(ScriptPaneTest, NewLinesFollowTheLineEndsOfTheScript) {
    // A script's file and the line end that Enter and Paste make in it.
    const std::pair<std::string, std::string> cases[] = {
        {"select 1;\nselect 2;\n", "\n"},
        {"select 1;\r\nselect 2;\r\n", "\r\n"},
        {"select 1;\nselect 2;\r\n", "\n"},  // the first line end decides
        {"select 1;\r\nselect 2;\n", "\r\n"},
        {"select 1;", "\r\n"},
        {"", "\r\n"},
    };
    {
        wxClipboardLocker clipboard;
        ASSERT_TRUE(!!clipboard);
        wxTheClipboard->SetData(new wxTextDataObject("a\r\nb\nc"));
    }
    const std::string path = test_env::TempPath("line ends.sql");
    for (const auto& [file, eol] : cases) {
        SCOPED_TRACE(file);
        test_env::WriteFile(path, file);
        ASSERT_TRUE(m_pScript->OnOpenDocument(wxString::FromUTF8(path)));
        ASSERT_EQ(m_pScriptPane->GetText(), file);
        m_pScriptPane->GetControl()->DocumentEnd();
        Key(WXK_RETURN, wxEVT_KEY_DOWN);
        Run(wxID_PASTE);
        EXPECT_EQ(m_pScriptPane->GetText(), file + eol + "a" + eol + "b" + eol + "c");
    }
    // Paste needs something on the clipboard.
    wxTheClipboard->Clear();
    EXPECT_FALSE(IsEnabled(wxID_PASTE));
}

TEST_F(ScriptPaneTest, FocusMakesAPaneTheActiveView) {
    m_pOutputPane->GetControl()->SetFocus();
    if (!gui_env::WaitUntil([&] { return wxWindow::FindFocus() == m_pOutputPane->GetControl(); }, 2000)) {
        GTEST_SKIP() << "the display gives no keyboard focus";
    }
    EXPECT_EQ(m_pManager->GetCurrentView(), m_pOutputPane);
    m_pScriptPane->GetControl()->SetFocus();
    EXPECT_TRUE(gui_env::WaitUntil([&] { return m_pManager->GetCurrentView() == m_pScriptPane; }));
}
