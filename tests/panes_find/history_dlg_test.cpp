// The History dialog: entries cut for the list and the preview and shown
// whatever their bytes, OK on an empty list, and the search of the durable
// history.
#include "history/history_dlg.h"
#include "history/history_list.h"
#include "history/history_store.h"
#include "support/gui_env.h"
#include "support/test_env.h"

#include <gtest/gtest.h>
#include <wx/listbox.h>
#include <wx/srchctrl.h>
#include <wx/textctrl.h>

#include <string>

namespace {

TEST(HistoryDlgTest, ListAndPreviewShowTheEntriesCutWhateverTheirBytes) {
    CHistoryList history;
    history.Append("select 'caf\xC3\xA9'\r\nfrom t" + std::string(2000, 'x'));
    history.Append("select '\xFF\xFE'");
    CHistoryDlg dialog(nullptr, history, 0);
    auto* list = dynamic_cast<wxListBox*>(dialog.FindWindow(CHistoryDlg::kListId));
    auto* preview = dynamic_cast<wxTextCtrl*>(dialog.FindWindow(CHistoryDlg::kTextId));
    ASSERT_TRUE(list != nullptr && preview != nullptr);
    // 99 characters for the list, 999 for the preview, which takes "\n" line ends.
    EXPECT_EQ(list->GetString(0).utf8_string(), "select 'caf\xC3\xA9'  from t" + std::string(78, 'x'));
    EXPECT_EQ(preview->GetValue().utf8_string(), "select 'caf\xC3\xA9'\nfrom t" + std::string(978, 'x'));
    // Bytes that are not UTF-8 still show: the line is not empty.
    EXPECT_TRUE(list->GetString(1).StartsWith("select '"));
    EXPECT_GT(list->GetString(1).length(), 8u);
}

TEST(HistoryDlgTest, OkOnAnEmptyHistoryChoosesNothing) {
    CHistoryList history;
    CHistoryDlg dialog(nullptr, history, 0);
    dialog.CallAfter([&dialog] { gui_env::Click(dialog.FindWindow(wxID_OK)); });
    EXPECT_EQ(dialog.ShowModal(), wxID_OK);
    EXPECT_EQ(dialog.GetPosSelected(), 0u);
}

// Typing searches the whole history, newest first; an empty field brings
// the session's list back (after a restart with its newest entry
// selected); OK on a found line hands back that entry's text.
TEST(HistoryDlgTest, TheSearchFieldFindsEntriesOfTheWholeHistory) {
    CHistoryStore store(test_env::TempPath("dialog-history.sqlite"), 100);
    store.Record({.timeMs = 1700000000000, .script = "select old\r\nfrom t", .dataSource = "Sales", .userName = "ann"});
    store.Record({.timeMs = 1700000060000, .script = "select newer", .dataSource = "Stock", .userName = "bob"});
    CHistoryList history;
    history.Restore({"session one", "session two"});
    CHistoryDlg dialog(nullptr, history, history.CurrentIndex(), &store);
    auto* search = dynamic_cast<wxSearchCtrl*>(dialog.FindWindow(CHistoryDlg::kSearchId));
    auto* list = dynamic_cast<wxListBox*>(dialog.FindWindow(CHistoryDlg::kListId));
    auto* preview = dynamic_cast<wxTextCtrl*>(dialog.FindWindow(CHistoryDlg::kTextId));
    ASSERT_TRUE(search != nullptr && list != nullptr && preview != nullptr);
    EXPECT_EQ(list->GetSelection(), 1);
    const auto lines = [list] {
        std::vector<std::string> shown;
        for (unsigned i = 0; i < list->GetCount(); ++i) shown.push_back(list->GetString(i).utf8_string());
        return shown;
    };

    search->SetValue("old");
    ASSERT_TRUE(gui_env::WaitUntil([&] { return lines().size() == 1; }));
    EXPECT_EQ(lines()[0], store.Newest(2)[1].ListLine());
    EXPECT_EQ(preview->GetValue().utf8_string(), "select old\nfrom t");

    search->SetValue("");
    EXPECT_EQ(lines(), (std::vector<std::string>{"session one", "session two"}));

    search->SetValue("sel");
    ASSERT_TRUE(gui_env::WaitUntil([&] { return lines() != std::vector<std::string>{"session one", "session two"}; }));
    EXPECT_EQ(lines().size(), 2u);
    EXPECT_EQ(list->GetSelection(), 0);
    dialog.CallAfter([&dialog] { gui_env::Click(dialog.FindWindow(wxID_OK)); });
    EXPECT_EQ(dialog.ShowModal(), wxID_OK);
    EXPECT_EQ(dialog.GetFoundText(), std::optional<std::string>("select newer"));
    EXPECT_EQ(dialog.GetPosSelected(), 1u);
}

}  // namespace
