#include "exec/history_dlg.h"
#include "exec/history_list.h"
#include "support/gui_env.h"

#include <gtest/gtest.h>
#include <wx/listbox.h>
#include <wx/textctrl.h>

#include <functional>
#include <string>

namespace {

class HistoryDlgTest : public ::testing::Test {
protected:
    wxListBox* List(CHistoryDlg& dialog) { return dynamic_cast<wxListBox*>(dialog.FindWindow(CHistoryDlg::kListId)); }
    wxTextCtrl* Preview(CHistoryDlg& dialog) {
        return dynamic_cast<wxTextCtrl*>(dialog.FindWindow(CHistoryDlg::kTextId));
    }
    // The user clicks line index of the list.
    void ChooseLine(CHistoryDlg& dialog, int index) {
        wxListBox* list = List(dialog);
        list->SetSelection(index);
        wxCommandEvent changed(wxEVT_LISTBOX, CHistoryDlg::kListId);
        changed.SetEventObject(list);
        changed.SetInt(index);
        list->GetEventHandler()->ProcessEvent(changed);
    }
    // Runs the dialog modally; inside it, act runs and then the button
    // buttonId is pressed.
    int RunModal(CHistoryDlg& dialog, const std::function<void()>& act, int buttonId) {
        dialog.CallAfter([&dialog, act, buttonId] {
            act();
            gui_env::Click(dialog.FindWindow(buttonId));
        });
        return dialog.ShowModal();
    }

    CHistoryList history;
};

std::string Utf8(const wxString& text) {
    const wxScopedCharBuffer bytes = text.utf8_str();
    return std::string(bytes.data(), bytes.length());
}

TEST_F(HistoryDlgTest, ListsEveryEntryAndSelectsTheCurrentOne) {
    history.Append("select 1");
    history.Append("");
    history.Append("select 3");
    history.GoPrevious();
    CHistoryDlg dialog(nullptr, history, history.CurrentIndex());
    wxListBox* list = List(dialog);
    ASSERT_EQ(list->GetCount(), 3u);
    EXPECT_EQ(list->GetString(0), "select 1");
    EXPECT_EQ(list->GetString(1), "");
    EXPECT_EQ(list->GetString(2), "select 3");
    EXPECT_EQ(list->GetSelection(), 1);
    ChooseLine(dialog, 2);
    EXPECT_EQ(Preview(dialog)->GetValue(), "select 3");
    ChooseLine(dialog, 0);
    EXPECT_EQ(Preview(dialog)->GetValue(), "select 1");
}

TEST_F(HistoryDlgTest, LongScriptsAreCutForTheListAndThePreview) {
    struct Case {
        const char* name;
        std::string script;
        std::string line;
        std::string preview;
    };
    const std::string first(40, 'a');
    const std::string rest(108, 'b');
    std::string longScript;
    for (int i = 0; longScript.size() < 2000; ++i) longScript += "select " + std::to_string(i) + " from t;\r\n";
    longScript.resize(2000);
    std::string longPreview = longScript.substr(0, 999);
    for (std::string::size_type at; (at = longPreview.find("\r\n")) != std::string::npos;) longPreview.erase(at, 1);
    std::string longLine = longScript.substr(0, 99);
    for (char& c : longLine) c = (c == '\r' || c == '\n') ? ' ' : c;
    const Case cases[] = {
        {"150 characters on two lines", first + "\r\n" + rest, first + "  " + std::string(57, 'b'),
         first + "\n" + rest},
        {"2,000 characters", longScript, longLine, longPreview},
        {"multi-byte characters", std::string(98, 'x') + "\xC3\xA9\xC3\xA9", std::string(98, 'x') + "\xC3\xA9",
         std::string(98, 'x') + "\xC3\xA9\xC3\xA9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CHistoryList entries;
        entries.Append(c.script);
        CHistoryDlg dialog(nullptr, entries, 0);
        EXPECT_EQ(Utf8(List(dialog)->GetString(0)), c.line);
        EXPECT_EQ(Utf8(Preview(dialog)->GetValue()), c.preview);
    }
}

TEST_F(HistoryDlgTest, BytesThatAreNotUtf8AreStillListed) {
    history.Append("select '\xFF\xFE'");
    CHistoryDlg dialog(nullptr, history, 0);
    EXPECT_TRUE(List(dialog)->GetString(0).StartsWith("select '"));
    EXPECT_TRUE(Preview(dialog)->GetValue().StartsWith("select '"));
}

TEST_F(HistoryDlgTest, OkTakesTheChosenLineAndCancelKeepsTheCurrentEntry) {
    history.Append("one");
    history.Append("two");
    history.Append("three");
    struct Case {
        int button;
        int result;
        std::size_t selected;
    };
    for (const Case c : {Case{wxID_OK, wxID_OK, 0}, Case{wxID_CANCEL, wxID_CANCEL, 2}}) {
        SCOPED_TRACE(c.button);
        CHistoryDlg dialog(nullptr, history, 2);
        EXPECT_EQ(RunModal(dialog, [&] { ChooseLine(dialog, 0); }, c.button), c.result);
        EXPECT_EQ(dialog.GetPosSelected(), c.selected);
    }
}

TEST_F(HistoryDlgTest, AnEmptyHistoryShowsNothingAndOkChangesNothing) {
    CHistoryDlg dialog(nullptr, history, 0);
    EXPECT_EQ(List(dialog)->GetCount(), 0u);
    EXPECT_EQ(Preview(dialog)->GetValue(), "");
    EXPECT_EQ(RunModal(dialog, [] {}, wxID_OK), wxID_OK);
    EXPECT_EQ(dialog.GetPosSelected(), 0u);
}

}  // namespace
