// The script document: files read and written whole through the document
// framework, failures reported and nothing lost, New and its save prompt,
// and the reader over the pane's text.
#include "worksheet_fixture.h"

#include "settings/settings_record.h"
#include "support/test_env.h"

#include <wx/docview.h>
#include <wx/msgdlg.h>

#include <filesystem>
#include <vector>

using namespace std::string_literals;

using ScriptTest = WorksheetTest;

TEST_F(ScriptTest, OpenAndSaveKeepEveryByte) {
    const std::string bytes = "select 'caf\xC3\xA9';\r\n-- \x80\xFF\r\nselect 2;\0after the nul\r\n\0"s;
    const std::string source = TempPath("round trip.sql");
    const std::string copy = TempPath("round trip copy.sql");
    WriteBytes(source, bytes);

    ASSERT_TRUE(m_pScript->OnOpenDocument(wxString::FromUTF8(source)));
    EXPECT_EQ(m_pScriptPane->GetText(), bytes);
    EXPECT_FALSE(m_pScript->IsModified());
    EXPECT_EQ(m_pScript->GetUserReadableName(), "round trip.sql");

    m_pScript->Modify(true);
    ASSERT_TRUE(m_pScript->OnSaveDocument(wxString::FromUTF8(copy)));
    EXPECT_EQ(ReadBytes(copy), bytes);
    EXPECT_FALSE(m_pScript->IsModified());

    // Saving the pane's changed text over the same file leaves no old bytes.
    m_pScriptPane->SetText("select 3", false);
    ASSERT_TRUE(m_pScript->OnSaveDocument(wxString::FromUTF8(copy)));
    EXPECT_EQ(ReadBytes(copy), "select 3");
}

TEST_F(ScriptTest, AFileThatCannotBeReadOrWrittenIsReportedAndNothingIsLost) {
    const std::string missing = TempPath("no such script.sql");
    const std::string badFolder = TempPath("no such folder/out.sql");
    m_pScriptPane->SetText("keep this", false);
    m_pScript->Modify(true);

    gui_env::ModalCapture boxes;
    EXPECT_FALSE(m_pScript->OnOpenDocument(wxString::FromUTF8(missing)));
    EXPECT_FALSE(m_pScript->OnSaveDocument(wxString::FromUTF8(badFolder)));

    ASSERT_EQ(boxes.Messages().size(), 2u);
    EXPECT_EQ(boxes.Messages()[0].text, missing + " was not found.");
    EXPECT_EQ(boxes.Messages()[1].text, badFolder + " contains an invalid path.");
    for (const auto& box : boxes.Messages()) {
        EXPECT_EQ(box.caption, "Tarnwell");
        EXPECT_TRUE(box.style & wxICON_ERROR);
    }
    EXPECT_EQ(m_pScriptPane->GetText(), "keep this");
    EXPECT_TRUE(m_pScript->IsModified());
    EXPECT_FALSE(std::filesystem::exists(TempPath("no such folder")));
}

TEST_F(ScriptTest, NewEmptiesThePaneAfterTheSavePrompt) {
    struct Case {
        const char* name;
        int answer;
        bool created;
        std::string textAfter;
    };
    const std::vector<Case> cases = {
        {"cancel keeps the script", wxID_CANCEL, false, "select 1"},
        {"no discards it", wxID_NO, true, ""},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        m_pScriptPane->SetText("select 1", false);
        ASSERT_TRUE(m_pScript->IsModified());
        gui_env::ModalCapture boxes(test.answer);
        EXPECT_EQ(m_pScript->OnNewDocument(), test.created);
        ASSERT_EQ(boxes.Messages().size(), 1u);
        EXPECT_EQ(boxes.Messages()[0].text, "Save changes to " + m_pScript->GetUserReadableName().utf8_string() + "?");
        EXPECT_EQ(m_pScriptPane->GetText(), test.textAfter);
        EXPECT_EQ(m_pScript->IsModified(), !test.created);
    }
    EXPECT_EQ(m_pScript->GetUserReadableName(), "untitled");
    EXPECT_TRUE(m_pScript->GetFilename().empty());
}

TEST_F(ScriptTest, OpeningThroughTheManagerShowsTheFileUnmodified) {
    const std::string path = TempPath("opened.sql");
    WriteBytes(path, "select 1;\r\n");
    m_pScript->Modify(false);
    CPane::SetTemplateParent(m_pFrame);
    auto* opened = wxDynamicCast(m_pManager->CreateDocument(wxString::FromUTF8(path), wxDOC_SILENT), CScript);
    CPane::SetTemplateParent(nullptr);
    ASSERT_NE(opened, nullptr);
    auto* pane = wxDynamicCast(opened->GetFirstView(), CScriptPane);
    ASSERT_NE(pane, nullptr);
    EXPECT_EQ(pane->GetText(), "select 1;\r\n");
    EXPECT_FALSE(opened->IsModified());
}

TEST_F(ScriptTest, TheReaderWalksThePanesTextWithTheCommentSettings) {
    CSettingsRecord settings;
    settings.SingleLineComment = "#";
    settings.MultilineCommentStart = "/*";
    settings.MultilineCommentEnd = "*/";
    settings.RemoveComments = 1;
    m_pScript->SetSettings(&settings);
    m_pScriptPane->SetText("select 1; # a;\r\nselect/* ; */2;\0select 3"s, false);

    m_pScript->ResetReader();
    std::vector<std::string> statements;
    for (std::string statement; m_pScript->GetNextStatement(statement);) statements.push_back(statement);
    EXPECT_EQ(statements, (std::vector<std::string>{"select 1", " select2"}));
    // The snapshot is the pane's whole text; the reader stopped at the NUL.
    EXPECT_EQ(m_pScript->ScriptText(), "select 1; # a;\r\nselect/* ; */2;\0select 3"s);

    settings.RemoveComments = 0;
    m_pScript->ResetReader();
    std::string first;
    ASSERT_TRUE(m_pScript->GetNextStatement(first));
    ASSERT_TRUE(m_pScript->GetNextStatement(first));
    EXPECT_EQ(first, " # a;\r\nselect/* ; */2");
    m_pScript->SetSettings(nullptr);
}
