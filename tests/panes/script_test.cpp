// The script document: a failed save reported with nothing lost, New and its
// save prompt, and the reader over the pane. (Files read and written whole:
// see the main window's file commands.)
#include "worksheet_fixture.h"

#include "settings/settings_record.h"

#include <wx/docview.h>
#include <wx/msgdlg.h>

#include <filesystem>
#include <vector>

using namespace std::string_literals;

using ScriptTest = WorksheetTest;

TEST_F(ScriptTest, AFailedSaveIsReportedAndNothingIsLost) {
    const std::string badFolder = test_env::TempPath("no such folder/out.sql");
    m_pScriptPane->SetText("keep this", false);
    gui_env::ModalCapture boxes;
    EXPECT_FALSE(m_pScript->OnSaveDocument(wxString::FromUTF8(badFolder)));
    ASSERT_EQ(boxes.Messages().size(), 1u);
    EXPECT_EQ(boxes.Messages()[0].text, badFolder + " contains an invalid path.");
    EXPECT_EQ(boxes.Messages()[0].caption, "Tarnwell");
    EXPECT_TRUE(boxes.Messages()[0].style & wxICON_ERROR);
    EXPECT_EQ(m_pScriptPane->GetText(), "keep this");
    EXPECT_TRUE(m_pScript->IsModified());
    EXPECT_FALSE(std::filesystem::exists(test_env::TempPath("no such folder")));
}

TEST_F(ScriptTest, NewEmptiesThePaneAfterTheSavePrompt) {
    for (const int answer : {wxID_CANCEL, wxID_NO}) {
        SCOPED_TRACE(answer);
        m_pScriptPane->SetText("select 1", false);
        gui_env::ModalCapture boxes(answer);
        EXPECT_EQ(m_pScript->OnNewDocument(), answer == wxID_NO);
        ASSERT_EQ(boxes.Messages().size(), 1u);
        EXPECT_EQ(boxes.Messages()[0].text, "Save changes to untitled?");
        EXPECT_EQ(m_pScriptPane->GetText(), answer == wxID_NO ? "" : "select 1");
        EXPECT_EQ(m_pScript->IsModified(), answer == wxID_CANCEL);
    }
    EXPECT_TRUE(m_pScript->GetFilename().empty());
}

TEST_F(ScriptTest, TheReaderWalksThePanesTextWithTheCommentSettings) {
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
