// The History dialog: entries cut for the list and the preview and shown
// whatever their bytes, and OK on an empty list.
#include "history/history_dlg.h"
#include "history/history_list.h"
#include "support/gui_env.h"

#include <gtest/gtest.h>
#include <wx/listbox.h>
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

}  // namespace
