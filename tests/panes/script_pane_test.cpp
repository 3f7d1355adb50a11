// The script pane as the document's view: the modified flag, and which edit
// commands each pane offers through the frame's command routing.
#include "worksheet_fixture.h"

#include <wx/clipbrd.h>
#include <wx/dataobj.h>
#include <wx/docview.h>
#include <wx/font.h>
#include <wx/stockitem.h>
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
        {"document update", true, [&] { m_pScript->UpdateAllViews(); }, false},
        {"typing", false, [&] { Type('x'); }, true},
        {"program sets the text", false, [&] { m_pScriptPane->SetText("select 2", false); }, true},
        {"replacement", false,
         [&] {
             m_pScriptPane->SetSelection(0, 1);
             m_pScriptPane->SetText("S", true);
         },
         true},
        {"undo", false, [&] { Run(wxID_UNDO); }, true},
        {"font change, unmodified", false,
         [&] { m_pScriptPane->SetPaneFont(wxFont(wxFontInfo(14).FaceName("Monospace")), 0); }, false},
        {"font change, modified", true,
         [&] { m_pScriptPane->SetPaneFont(wxFont(wxFontInfo(9).FaceName("Sans")), 0); }, true},
        {"selection and copy", false,
         [&] {
             m_pScriptPane->SetSelection(0, -1);
             Run(wxID_COPY);
         },
         false},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        m_pScriptPane->GetControl()->SetText("select 1");
        m_pScript->Modify(test.modifiedBefore);
        test.action();
        EXPECT_EQ(m_pScript->IsModified(), test.modifiedAfter);
    }
}

TEST_F(ScriptPaneTest, TakingTheDocumentsTextClearsUndo) {
    Type('a');
    ASSERT_TRUE(IsEnabled(wxID_UNDO));
    m_pScript->UpdateAllViews();
    EXPECT_FALSE(IsEnabled(wxID_UNDO));
    EXPECT_FALSE(m_pScript->IsModified());
}

TEST_F(ScriptPaneTest, EditCommandsFollowTheActivePane) {
    Type('a');  // something to undo
    {
        wxClipboardLocker clipboard;
        ASSERT_TRUE(!!clipboard);
        wxTheClipboard->SetData(new wxTextDataObject("pasted"));
    }
    struct Case {
        int id;
        bool inScriptPane;
        bool inOutputPane;
    };
    const Case cases[] = {
        {wxID_UNDO, true, false},  {wxID_CUT, true, false},       {wxID_COPY, true, true},
        {wxID_PASTE, true, false}, {wxID_SELECTALL, true, true},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(wxGetStockLabel(test.id).utf8_string());
        m_pScriptPane->Activate(true);
        EXPECT_EQ(IsEnabled(test.id), test.inScriptPane);
        m_pOutputPane->Activate(true);
        EXPECT_EQ(IsEnabled(test.id), test.inOutputPane);
    }
}

TEST_F(ScriptPaneTest, CommandsActOnTheActivePaneOnly) {
    m_pOutputPane->SetText("output", false);
    m_pScriptPane->SetText("script", false);

    m_pOutputPane->Activate(true);
    Run(wxID_SELECTALL);
    Run(wxID_CUT);
    EXPECT_EQ(m_pOutputPane->GetControl()->GetSelectedText(), "output");
    EXPECT_EQ(m_pOutputPane->GetText(), "output");
    EXPECT_EQ(m_pScriptPane->GetText(), "script");

    m_pScriptPane->Activate(true);
    Run(wxID_SELECTALL);
    Run(wxID_CUT);
    EXPECT_EQ(m_pScriptPane->GetText(), "");
    Run(wxID_UNDO);
    EXPECT_EQ(m_pScriptPane->GetText(), "script");
}

TEST_F(ScriptPaneTest, PasteNeedsSomethingOnTheClipboard) {
    {
        wxClipboardLocker clipboard;
        ASSERT_TRUE(!!clipboard);
        wxTheClipboard->SetData(new wxTextDataObject("a\nb"));
    }
    m_pScriptPane->SetText("", false);
    ASSERT_TRUE(IsEnabled(wxID_PASTE));
    Run(wxID_PASTE);
    // Pasted line ends become the pane's "\r\n".
    EXPECT_EQ(m_pScriptPane->GetText(), "a\r\nb");

    wxTheClipboard->Clear();
    EXPECT_FALSE(IsEnabled(wxID_PASTE));
}

TEST_F(ScriptPaneTest, NewLinesFollowTheLineEndsOfTheScript) {
    struct Case {
        const char* name;
        std::string file;
        const char* lineEnd;  // what Enter and Paste make
    };
    const Case cases[] = {
        {"line feeds", "select 1;\nselect 2;\n", "\n"},
        {"carriage return and line feed", "select 1;\r\nselect 2;\r\n", "\r\n"},
        {"the first line end decides", "select 1;\nselect 2;\r\n", "\n"},
        {"the first line end decides, the other way", "select 1;\r\nselect 2;\n", "\r\n"},
        {"no line end", "select 1;", "\r\n"},
        {"empty", "", "\r\n"},
    };
    {
        wxClipboardLocker clipboard;
        ASSERT_TRUE(!!clipboard);
        wxTheClipboard->SetData(new wxTextDataObject("a\r\nb\nc"));
    }
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        const std::string path = TempPath("line ends.sql");
        WriteBytes(path, test.file);
        ASSERT_TRUE(m_pScript->OnOpenDocument(wxString::FromUTF8(path)));
        ASSERT_EQ(m_pScriptPane->GetText(), test.file);

        // Enter at the end of the text, as the keyboard gives it.
        wxStyledTextCtrl* control = m_pScriptPane->GetControl();
        control->DocumentEnd();
        wxKeyEvent enter(wxEVT_KEY_DOWN);
        enter.m_keyCode = WXK_RETURN;
        enter.SetEventObject(control);
        control->ProcessWindowEvent(enter);
        Run(wxID_PASTE);
        const std::string lineEnd = test.lineEnd;
        EXPECT_EQ(m_pScriptPane->GetText(), test.file + lineEnd + "a" + lineEnd + "b" + lineEnd + "c");
    }
    // New starts over with "\r\n".
    m_pScript->Modify(false);
    ASSERT_TRUE(m_pScript->OnNewDocument());
    Run(wxID_PASTE);
    EXPECT_EQ(m_pScriptPane->GetText(), "a\r\nb\r\nc");
    wxTheClipboard->Clear();
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

TEST_F(ScriptPaneTest, TitleChangesReachTheFrameAsAnEvent) {
    int notified = 0;
    const auto count = [&](wxCommandEvent&) { ++notified; };
    m_pFrame->Bind(EVT_PANE_DOCUMENT_TITLE, count);
    const wxString title = m_pFrame->GetTitle();
    m_pScript->Modify(true);
    m_pScript->SetFilename("/tmp/other.sql", true);
    m_pFrame->Unbind(EVT_PANE_DOCUMENT_TITLE, count);
    EXPECT_GE(notified, 2);
    // The frame composes its title itself.
    EXPECT_EQ(m_pFrame->GetTitle(), title);
}
