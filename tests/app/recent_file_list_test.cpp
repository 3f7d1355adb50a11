#include "app_test_env.h"

#include "app/doc_manager.h"
#include "app/recent_file_list.h"
#include "app/tarnwell_app.h"

#include <wx/fileconf.h>
#include <wx/menu.h>
#include <wx/sstream.h>

using namespace app_test;

namespace {

using Labels = std::vector<std::string>;

// The list in a File menu like the window's: its entries stand before the
// separator ahead of "Exit". Returns the labels between the two separators.
Labels EntriesOf(CRecentFileList& recent) {
    wxMenu menu;
    menu.Append(wxID_OPEN, "&Open...");
    menu.AppendSeparator();
    recent.UseMenuBefore(&menu, menu.AppendSeparator());
    menu.Append(wxID_EXIT, "E&xit");
    Labels labels;
    const wxMenuItemList& items = menu.GetMenuItems();
    for (size_t i = 2; i + 2 < items.size(); ++i) {
        labels.push_back(FromUiString(items[i]->GetItemLabel()));
        EXPECT_EQ(items[i]->GetId(), wxID_FILE1 + static_cast<int>(i - 2));
        EXPECT_EQ(items[i]->IsEnabled(), recent.GetCount() > 0);
    }
    recent.UseMenuBefore(nullptr, nullptr);
    return labels;
}

TEST(RecentFileListTest, KeepsTheFourNewestFilesNewestFirst) {
    CRecentFileList recent;
    EXPECT_EQ(EntriesOf(recent), Labels{"Recent File"});  // a disabled placeholder
    for (const char* name : {"/s/one.sql", "/s/two.sql", "/s/R&D.sql", "/s/four.sql", "/s/five.sql"})
        recent.AddFileToHistory(name);
    EXPECT_EQ(EntriesOf(recent), (Labels{"&1 /s/five.sql", "&2 /s/four.sql", "&3 /s/R&&D.sql", "&4 /s/two.sql"}));

    // A file already listed moves to the top instead of being listed twice.
    recent.AddFileToHistory("/s/R&D.sql");
    EXPECT_EQ(EntriesOf(recent), (Labels{"&1 /s/R&&D.sql", "&2 /s/five.sql", "&3 /s/four.sql", "&4 /s/two.sql"}));
    while (recent.GetCount() > 0) recent.RemoveFileFromHistory(0);
    EXPECT_EQ(EntriesOf(recent), Labels{"Recent File"});
}

TEST(RecentFileListTest, StoredAsFile1ToFile4) {
    wxStringInputStream empty(wxString{});
    wxFileConfig config(empty);
    config.Write("File4", "/stale.sql");
    CRecentFileList recent;
    recent.AddFileToHistory("/s/old.sql");
    recent.AddFileToHistory("/s/new.sql");
    recent.Save(config);
    EXPECT_EQ(config.Read("File1"), "/s/new.sql");
    EXPECT_EQ(config.Read("File2"), "/s/old.sql");
    EXPECT_FALSE(config.HasEntry("File4"));

    // An empty value ends the list.
    config.Write("File3", "");
    config.Write("File4", "/after/a/gap.sql");
    CRecentFileList loaded;
    loaded.Load(config);
    EXPECT_EQ(EntriesOf(loaded), (Labels{"&1 /s/new.sql", "&2 /s/old.sql"}));
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

    // The second entry of the menu opens the fourth script again.
    EXPECT_TRUE(Frame().RunCommand(wxID_FILE1 + 1));
    EXPECT_EQ(ScriptText(), "select 4;");
    EXPECT_EQ(FromUiString(recent->GetHistoryFile(0)), paths[3]);
}

}  // namespace
