#include "app_test_env.h"

#include "app/doc_manager.h"
#include "app/main_frame.h"
#include "app/recent_file_list.h"
#include "app/tarnwell_app.h"
#include "app/ui_text.h"
#include "script/script.h"

#include <gtest/gtest.h>
#include <wx/fileconf.h>
#include <wx/menu.h>
#include <wx/sstream.h>

#include <memory>

using namespace app_test;

namespace {

// A File menu like the window's: the recent-file entries stand before the
// separator ahead of "Exit".
class RecentFileListTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_menu.Append(wxID_OPEN, "&Open...");
        m_menu.AppendSeparator();
        m_pBefore = m_menu.AppendSeparator();
        m_menu.Append(wxID_EXIT, "E&xit");
        m_recent.UseMenuBefore(&m_menu, m_pBefore);
    }

    // The labels between the first separator and the one before Exit.
    std::vector<std::string> Entries() {
        std::vector<std::string> labels;
        const wxMenuItemList& items = m_menu.GetMenuItems();
        for (size_t i = 2; i + 2 < items.size(); ++i) labels.push_back(FromUiString(items[i]->GetItemLabel()));
        return labels;
    }

    wxMenu m_menu;
    wxMenuItem* m_pBefore = nullptr;
    CRecentFileList m_recent;
};

TEST_F(RecentFileListTest, EmptyListShowsADisabledPlaceholder) {
    EXPECT_EQ(Entries(), std::vector<std::string>{"Recent File"});
    EXPECT_FALSE(m_menu.FindItem(wxID_FILE1)->IsEnabled());
    EXPECT_EQ(m_menu.FindItem(wxID_FILE1)->GetHelp(), "Open this document");
}

TEST_F(RecentFileListTest, KeepsTheFourNewestFilesNewestFirst) {
    for (const char* name : {"/s/one.sql", "/s/two.sql", "/s/three.sql", "/s/four.sql", "/s/five.sql"})
        m_recent.AddFileToHistory(name);
    ASSERT_EQ(m_recent.GetCount(), 4u);
    EXPECT_EQ(m_recent.GetHistoryFile(0), "/s/five.sql");
    EXPECT_EQ(m_recent.GetHistoryFile(3), "/s/two.sql");
    EXPECT_EQ(Entries(), (std::vector<std::string>{"&1 /s/five.sql", "&2 /s/four.sql", "&3 /s/three.sql",
                                                   "&4 /s/two.sql"}));
    for (int i = 0; i < 4; ++i) EXPECT_EQ(m_menu.FindItemByPosition(2 + i)->GetId(), wxID_FILE1 + i);

    // A file already listed moves to the top instead of being listed twice.
    m_recent.AddFileToHistory("/s/three.sql");
    EXPECT_EQ(Entries(), (std::vector<std::string>{"&1 /s/three.sql", "&2 /s/five.sql", "&3 /s/four.sql",
                                                   "&4 /s/two.sql"}));
    while (m_recent.GetCount() > 0) m_recent.RemoveFileFromHistory(0);
    EXPECT_EQ(Entries(), std::vector<std::string>{"Recent File"});
}

TEST_F(RecentFileListTest, StoredAsFile1ToFile4) {
    wxStringInputStream empty(wxString{});
    wxFileConfig config(empty);
    config.SetPath("/Recent File List");
    config.Write("File4", "/stale.sql");
    m_recent.AddFileToHistory("/s/old.sql");
    m_recent.AddFileToHistory("/s/new.sql");
    m_recent.Save(config);
    EXPECT_EQ(config.Read("File1"), "/s/new.sql");
    EXPECT_EQ(config.Read("File2"), "/s/old.sql");
    EXPECT_FALSE(config.HasEntry("File3"));
    EXPECT_FALSE(config.HasEntry("File4"));

    config.Write("File3", "");
    config.Write("File4", "/after/a/gap.sql");
    CRecentFileList loaded;
    loaded.Load(config);
    ASSERT_EQ(loaded.GetCount(), 2u);
    EXPECT_EQ(loaded.GetHistoryFile(0), "/s/new.sql");
    EXPECT_EQ(loaded.GetHistoryFile(1), "/s/old.sql");
}

TEST(RecentFilesOfTheWindowTest, FifthOpenedScriptDropsTheOldest) {
    CDocManager* manager = App().GetDocManager();
    SetScript("");
    std::vector<std::string> paths;
    for (int i = 1; i <= 5; ++i) {
        paths.push_back(WriteTempFile("recent" + std::to_string(i) + ".sql", "select " + std::to_string(i) + ";"));
        ASSERT_EQ(manager->OpenScript(ToUiString(paths.back())), CDocManager::OpenResult::Opened);
    }
    const CRecentFileList* recent = manager->GetRecentFiles();
    ASSERT_EQ(recent->GetCount(), 4u);
    for (size_t i = 0; i < 4; ++i) EXPECT_EQ(FromUiString(recent->GetHistoryFile(i)), paths[4 - i]);
    EXPECT_TRUE(Frame().IsCommandEnabled(wxID_FILE1 + 3));

    // The second entry of the menu opens the fourth script again.
    EXPECT_TRUE(Frame().RunCommand(wxID_FILE1 + 1));
    EXPECT_EQ(ScriptText(), "select 4;");
    EXPECT_EQ(FromUiString(recent->GetHistoryFile(0)), paths[3]);
}

}  // namespace
