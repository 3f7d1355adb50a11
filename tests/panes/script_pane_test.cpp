// The script document and its pane: the modified flag (a font change leaves
// it alone: see the main window's test of the pane font), the line ends that
// Enter and Paste make, focus making a pane the active view, a failed save
// reported with nothing lost, New and its save prompt, and the reader over
// the pane. (Files read and written whole: see the main window's file
// commands.)
#include "worksheet_fixture.h"

#include "settings/settings_record.h"

#include <wx/clipbrd.h>
#include <wx/dataobj.h>
#include <wx/msgdlg.h>

#include <filesystem>
#include <functional>
#include <tuple>
#include <vector>

using namespace std::string_literals;
using ScriptPaneTest = WorksheetTest;

TEST_F(ScriptPaneTest, ChangesOfTheTextMarkTheDocumentModified) {
    // Whether the document was modified before the action, and is after it.
    const struct { const char* name; bool before; std::function<void()> action; bool after; } cases[] = {
        {"typing", false, [&] { Key('x'); }, true},
        {"program sets the text", false, [&] { m_pScriptPane->SetText("select 2", false); }, true},
        {"replacement", false, [&] { m_pScriptPane->SetSelection(0, 1); m_pScriptPane->SetText("S", true); }, true},
        {"undo", false, [&] { Run(wxID_UNDO); }, true},
        {"selection and copy", false, [&] { m_pScriptPane->SetSelection(0, -1); Run(wxID_COPY); }, false},
        // Taking the document's text also clears what Undo would take back.
        {"document update", true, [&] { Key('a'); m_pScript->UpdateAllViews(); }, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        m_pScriptPane->GetControl()->SetText("select 1");
        m_pScript->Modify(c.before);
        c.action();
        EXPECT_EQ(m_pScript->IsModified(), c.after);
    }
    EXPECT_FALSE(IsEnabled(wxID_UNDO));
}

TEST_F(ScriptPaneTest, NewLinesFollowTheLineEndsOfTheScript) {
    // A script's file and the line end that Enter and Paste make in it; the
    // first line end decides.
    const std::pair<std::string, std::string> cases[] = {
        {"select 1;\nselect 2;\n", "\n"}, {"select 1;\r\nselect 2;\r\n", "\r\n"},
        {"select 1;\nselect 2;\r\n", "\n"}, {"select 1;\r\nselect 2;\n", "\r\n"},
        {"select 1;", "\r\n"}, {"", "\r\n"},
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

TEST_F(ScriptPaneTest, AFailedSaveIsReportedAndNothingIsLost) {
    const std::string badFolder = test_env::TempPath("no such folder/out.sql");
    m_pScriptPane->SetText("keep this", false);
    gui_env::ModalCapture boxes;
    EXPECT_FALSE(m_pScript->OnSaveDocument(wxString::FromUTF8(badFolder)));
    ASSERT_EQ(boxes.Messages().size(), 1u);
    const auto& box = boxes.Messages()[0];
    EXPECT_EQ(std::tuple(box.text, box.caption, (box.style & wxICON_ERROR) != 0),
              std::tuple(badFolder + " contains an invalid path.", "Tarnwell", true));
    EXPECT_EQ(std::pair(m_pScriptPane->GetText(), m_pScript->IsModified()), std::pair("keep this"s, true));
    EXPECT_FALSE(std::filesystem::exists(test_env::TempPath("no such folder")));
}

TEST_F(ScriptPaneTest, NewEmptiesThePaneAfterTheSavePrompt) {
    for (const int answer : {wxID_CANCEL, wxID_NO}) {
        SCOPED_TRACE(answer);
        m_pScriptPane->SetText("select 1", false);
        gui_env::ModalCapture boxes(answer);
        EXPECT_EQ(m_pScript->OnNewDocument(), answer == wxID_NO);
        ASSERT_EQ(boxes.Messages().size(), 1u);
        EXPECT_EQ(std::tuple(boxes.Messages()[0].text, m_pScriptPane->GetText(), m_pScript->IsModified()),
                  std::tuple("Save changes to untitled?", answer == wxID_NO ? "" : "select 1", answer == wxID_CANCEL));
    }
    EXPECT_TRUE(m_pScript->GetFilename().empty());
}

TEST_F(ScriptPaneTest, TheReaderWalksThePanesTextWithTheCommentSettings) {
    CSettingsRecord settings;
    settings.SingleLineComment = "#";
    settings.MultilineCommentStart = "/*";
    settings.MultilineCommentEnd = "*/";
    m_pScript->SetSettings(&settings);
    const std::string text = "select 1; # a;\r\nselect/* ; */2;\0select 3"s;
    m_pScriptPane->SetText(text, false);
    // The settings are read again at each reset; the reader stops at the NUL.
    for (const int removeComments : {1, 0}) {
        settings.RemoveComments = removeComments;
        m_pScript->ResetReader();
        std::vector<std::string> statements;
        for (std::string statement; m_pScript->GetNextStatement(statement);) statements.push_back(statement);
        const std::string second = removeComments ? " select2" : " # a;\r\nselect/* ; */2";
        EXPECT_EQ(statements, (std::vector<std::string>{"select 1", second}));
        // The snapshot is the pane's whole text.
        EXPECT_EQ(m_pScript->ScriptText(), text);
    }
    m_pScript->SetSettings(nullptr);
}
