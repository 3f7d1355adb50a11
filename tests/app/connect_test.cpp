// The Connect dialog of a window, the run of a script on the connection, the
// history of runs, and the end of the connection with the window.
#include "app_test_env.h"
#include "second_window.h"

#include "app/command_ids.h"
#include "app/main_frame.h"
#include "app/ui_text.h"
#include "db/connect_dlg.h"
#include "exec/history_dlg.h"
#include "panes/output_pane.h"
#include "panes/script_pane.h"
#include "script/script.h"
#include "support/gui_env.h"
#include "support/test_env.h"

#include <gtest/gtest.h>
#include <wx/listbox.h>
#include <wx/stc/stc.h>
#include <wx/textctrl.h>

using namespace app_test;

namespace {

// What the Connect dialog showed when it came up.
struct Shown {
    std::string dataSource;
    std::string userName;
    std::string password;
    bool passwordHidden = false;
};

// Runs Change Connection on window, types the three values and presses
// button (OK or Cancel). Returns what the dialog showed first.
Shown ChangeConnection(CMainFrame& window, const std::string& dataSource, const std::string& userName,
                       const std::string& password, int button = wxID_OK) {
    Shown shown;
    const bool driven = WithModalDialog(
        [&](wxDialog& dialog) {
            EXPECT_EQ(dialog.GetTitle(), "Connect");
            const auto field = [&](int id) { return dynamic_cast<wxTextCtrl*>(dialog.FindWindow(id)); };
            const int ids[] = {CConnectDlg::IDC_DATASOURCE, CConnectDlg::IDC_USERNAME, CConnectDlg::IDC_PASSWORD};
            std::string* shownValues[] = {&shown.dataSource, &shown.userName, &shown.password};
            const std::string* typed[] = {&dataSource, &userName, &password};
            for (int i = 0; i < 3; ++i) {
                *shownValues[i] = FromUiString(field(ids[i])->GetValue());
                field(ids[i])->ChangeValue(ToUiString(*typed[i]));
            }
            shown.passwordHidden = field(CConnectDlg::IDC_PASSWORD)->HasFlag(wxTE_PASSWORD);
            gui_env::Click(dialog.FindWindow(button));
        },
        [&] { PressKey(window, 'D', wxMOD_CONTROL); });
    EXPECT_TRUE(driven);
    return shown;
}

std::string TitleOf(CMainFrame& window) { return FromUiString(window.GetTitle()); }

class ConnectTest : public ::testing::Test {
protected:
    void SetUp() override {
        TakeMessageBoxes();
        TakeRefusedDialogs();
    }
    void TearDown() override { EXPECT_EQ(TakeRefusedDialogs(), std::vector<std::string>()); }
    CMemoryProfileStore m_store;
};

TEST_F(ConnectTest, CancelLeavesTheNewWindowNotConnected) {
    CSecondWindow window(m_store, wxSize(600, 400));
    EXPECT_EQ(TitleOf(*window), "untitled - Tarnwell - not connected");
    const Shown shown = ChangeConnection(*window, "TestSQLite", "scott", "tiger", wxID_CANCEL);
    EXPECT_EQ(shown.dataSource + shown.userName + shown.password, "");
    EXPECT_TRUE(shown.passwordHidden);
    EXPECT_EQ(TitleOf(*window), "untitled - Tarnwell - not connected");
    EXPECT_FALSE(window->Connection().IsConnected());
    // Cancel keeps nothing of what was typed.
    EXPECT_EQ(ChangeConnection(*window, "", "", "", wxID_CANCEL).dataSource, "");
    EXPECT_TRUE(TakeMessageBoxes().empty());
}

TEST_F(ConnectTest, FailedConnectShowsTheDiagnosticAndRemembersTheValues) {
    CSecondWindow window(m_store, wxSize(600, 400));
    ChangeConnection(*window, "NoSuchDataSource", "ann", "secret");
    const auto boxes = TakeMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Tarnwell");
    EXPECT_TRUE(boxes[0].style & wxICON_EXCLAMATION);
    EXPECT_EQ(boxes[0].text.substr(0, 9), "\r\nError: ") << boxes[0].text;
    EXPECT_NE(boxes[0].text.find("SQLSTATE = IM002"), std::string::npos) << boxes[0].text;
    EXPECT_EQ(TitleOf(*window), "untitled - Tarnwell - not connected");

    const Shown again = ChangeConnection(*window, "", "", "", wxID_CANCEL);
    EXPECT_EQ(again.dataSource + "/" + again.userName + "/" + again.password, "NoSuchDataSource/ann/secret");
}

TEST_F(ConnectTest, SuccessNamesUserAndDataSourceUntilAnotherConnectEndsIt) {
    CSecondWindow window(m_store, wxSize(600, 400));
    const std::string dsn = test_env::SqliteDsn();
    ChangeConnection(*window, dsn, "scott", "");
    EXPECT_TRUE(window->Connection().IsConnected());
    EXPECT_EQ(TitleOf(*window), "untitled - Tarnwell - scott@" + dsn);

    ChangeConnection(*window, dsn, "", "");
    EXPECT_EQ(TitleOf(*window), "untitled - Tarnwell - @" + dsn);
    ChangeConnection(*window, "Other", "x", "y", wxID_CANCEL);  // keeps the connection
    EXPECT_TRUE(window->Connection().IsConnected());
    EXPECT_EQ(TitleOf(*window), "untitled - Tarnwell - @" + dsn);

    // A failed connect while connected ends not connected.
    ChangeConnection(*window, "NoSuchDataSource", "", "");
    EXPECT_EQ(TakeMessageBoxes().size(), 1u);
    EXPECT_FALSE(window->Connection().IsConnected());
    EXPECT_EQ(TitleOf(*window), "untitled - Tarnwell - not connected");
}

TEST_F(ConnectTest, CtrlEnterWritesTheTranscriptIntoTheOutputPane) {
    CSecondWindow window(m_store, wxSize(700, 500));
    window->ScriptPane()->SetText(std::string_view("select 1"), false);
    PressKey(*window, WXK_RETURN, wxMOD_CONTROL);
    EXPECT_EQ(window->OutputPane()->GetText(), "not connected\r\n");
    EXPECT_TRUE(window->History().IsEmpty());

    ChangeConnection(*window, test_env::NewSqliteDsn("ExecuteTest"), "", "");
    ASSERT_TRUE(window->Connection().IsConnected());
    window->RunCommand(ID_CLEAR_OUTPUT);
    const std::string script = "create table items(name varchar(10));\r\ninsert into items values ('pen');\r\n"
                               "select name from items;\r\nselect * from no_such_table;";
    window->ScriptPane()->SetText(std::string_view(script), false);
    PressKey(*window, WXK_RETURN, wxMOD_CONTROL);

    const std::string output = window->OutputPane()->GetText();
    const std::string expected =
        "SQL> create table items(name varchar(10))\r\nok\r\n"
        "SQL> insert into items values ('pen')\r\nok\r\n"
        "SQL> select name from items\r\nname       \r\n---------- \r\npen        \r\n1 row(s) fetched\r\n"
        "SQL> select * from no_such_table\r\nError: ";
    EXPECT_EQ(output.substr(0, expected.size()), expected);

    // The run ends with the script in the history, all of it selected.
    ASSERT_EQ(window->History().Size(), 1u);
    EXPECT_EQ(window->History().Current(), script);
    EXPECT_EQ(window->ScriptPane()->GetControl()->GetSelectionEnd(), static_cast<int>(script.size()));
}

TEST_F(ConnectTest, PreviousNextAndTheHistoryDialogLoadWholeScripts) {
    CSecondWindow window(m_store, wxSize(700, 500));
    ChangeConnection(*window, test_env::SqliteDsn(), "", "");
    for (const char* script : {"select 1", "select 2", "select\r\n3"}) {
        window->ScriptPane()->SetText(script, false);
        window->RunCommand(ID_EXECUTE);
    }
    EXPECT_FALSE(window->IsCommandEnabled(ID_NEXT_SCRIPT));
    PressKey(*window, WXK_LEFT, wxMOD_ALT);
    PressKey(*window, WXK_LEFT, wxMOD_ALT);
    EXPECT_EQ(window->ScriptPane()->GetText(), "select 1");
    EXPECT_EQ(window->ScriptPane()->GetControl()->GetSelectionEnd(), 8);
    EXPECT_TRUE(window->Script()->IsModified());
    EXPECT_FALSE(window->IsCommandEnabled(ID_PREVIOUS_SCRIPT));
    PressKey(*window, WXK_RIGHT, wxMOD_ALT);
    EXPECT_EQ(window->ScriptPane()->GetText(), "select 2");

    // The History dialog opens on the current entry; OK on the newest loads
    // all of it, not the line the list shows.
    int selectedAtStart = -1;
    ASSERT_TRUE(WithModalDialog(
        [&](wxDialog& dialog) {
            auto* list = dynamic_cast<wxListBox*>(dialog.FindWindow(CHistoryDlg::kListId));
            ASSERT_NE(list, nullptr);
            selectedAtStart = list->GetSelection();
            list->SetSelection(2);
            gui_env::Click(dialog.FindWindow(wxID_OK));
        },
        [&] { PressKey(*window, 'H', wxMOD_CONTROL); }));
    EXPECT_EQ(selectedAtStart, 1);
    EXPECT_EQ(window->ScriptPane()->GetText(), "select\r\n3");
    EXPECT_EQ(window->ScriptPane()->GetControl()->GetSelectionEnd(), 9);
    EXPECT_FALSE(window->IsCommandEnabled(ID_NEXT_SCRIPT));
    window->Script()->Modify(false);
}

TEST_F(ConnectTest, OnlyAClosingWindowEndsItsConnection) {
    CSecondWindow window(m_store, wxSize(600, 400));
    ChangeConnection(*window, test_env::SqliteDsn(), "scott", "");
    window->ScriptPane()->GetControl()->AddText("select 1");  // a modified script

    // The save prompt is answered with Cancel: the window stays, connected.
    EXPECT_FALSE(window.Close());
    const auto boxes = TakeMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Save changes to untitled?");
    EXPECT_EQ(boxes[0].style & (wxYES_NO | wxCANCEL), wxYES_NO | wxCANCEL);
    EXPECT_TRUE(window->IsShown());
    EXPECT_TRUE(window->Connection().IsConnected());
    EXPECT_EQ(TitleOf(*window), "untitled - Tarnwell - scott@" + test_env::SqliteDsn());

    // Once the close goes ahead, the connection ends with it.
    window->Script()->Modify(false);
    EXPECT_TRUE(window.Close());
    EXPECT_FALSE(window->Connection().IsConnected());
}

}  // namespace
