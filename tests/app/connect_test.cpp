#include "app_test_env.h"
#include "second_window.h"

#include "app/command_ids.h"
#include "app/main_frame.h"
#include "app/ui_text.h"
#include "db/connect_dlg.h"
#include "panes/output_pane.h"
#include "panes/script_pane.h"
#include "script/script.h"
#include "support/gui_env.h"
#include "support/test_env.h"

#include <gtest/gtest.h>
#include <wx/stc/stc.h>
#include <wx/statusbr.h>
#include <wx/fdrepdlg.h>
#include <wx/listbox.h>
#include <wx/textctrl.h>

#include <fstream>
#include <iterator>

using namespace app_test;

namespace {

// What the Connect dialog showed when it came up.
struct Shown {
    std::string dataSource;
    std::string userName;
    std::string password;
    bool passwordHidden = false;
    std::string caption;
};

wxTextCtrl* Field(wxDialog& dialog, int id) { return dynamic_cast<wxTextCtrl*>(dialog.FindWindow(id)); }

// Runs Change Connection on window, types the three values and presses
// button (OK or Cancel). Returns what the dialog showed first.
Shown ChangeConnection(CMainFrame& window, const std::string& dataSource, const std::string& userName,
                       const std::string& password, int button = wxID_OK) {
    Shown shown;
    const bool driven = WithModalDialog(
        [&](wxDialog& dialog) {
            shown.caption = FromUiString(dialog.GetTitle());
            shown.dataSource = FromUiString(Field(dialog, CConnectDlg::IDC_DATASOURCE)->GetValue());
            shown.userName = FromUiString(Field(dialog, CConnectDlg::IDC_USERNAME)->GetValue());
            shown.password = FromUiString(Field(dialog, CConnectDlg::IDC_PASSWORD)->GetValue());
            shown.passwordHidden = Field(dialog, CConnectDlg::IDC_PASSWORD)->HasFlag(wxTE_PASSWORD);
            Field(dialog, CConnectDlg::IDC_DATASOURCE)->ChangeValue(ToUiString(dataSource));
            Field(dialog, CConnectDlg::IDC_USERNAME)->ChangeValue(ToUiString(userName));
            Field(dialog, CConnectDlg::IDC_PASSWORD)->ChangeValue(ToUiString(password));
            gui_env::Click(dialog.FindWindow(button));
        },
        [&] { EXPECT_TRUE(window.RunCommand(ID_CHANGE_CONNECTION)); });
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
    CMemoryProfileStore m_store;
};

TEST_F(ConnectTest, FirstDialogIsEmptyAndCancelLeavesTheWindowNotConnected) {
    CSecondWindow window(m_store, wxSize(600, 400));
    const Shown shown = ChangeConnection(*window, "TestSQLite", "scott", "tiger", wxID_CANCEL);
    EXPECT_EQ(shown.caption, "Connect");
    EXPECT_EQ(shown.dataSource, "");
    EXPECT_EQ(shown.userName, "");
    EXPECT_EQ(shown.password, "");
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
    EXPECT_EQ(window->ConnectionText(), "not connected");

    const Shown again = ChangeConnection(*window, "", "", "", wxID_CANCEL);
    EXPECT_EQ(again.dataSource, "NoSuchDataSource");
    EXPECT_EQ(again.userName, "ann");
    EXPECT_EQ(again.password, "secret");
}

TEST_F(ConnectTest, SuccessNamesUserAndDataSourceAndALaterConnectReplacesThem) {
    CSecondWindow window(m_store, wxSize(600, 400));
    ChangeConnection(*window, test_env::SqliteDsn(), "scott", "");
    EXPECT_TRUE(window->Connection().IsConnected());
    EXPECT_EQ(TitleOf(*window), "untitled - Tarnwell - scott@" + test_env::SqliteDsn());

    ChangeConnection(*window, test_env::SqliteDsn(), "", "");
    EXPECT_EQ(TitleOf(*window), "untitled - Tarnwell - @" + test_env::SqliteDsn());

    // Cancel while connected keeps the connection and its text.
    ChangeConnection(*window, "Other", "x", "y", wxID_CANCEL);
    EXPECT_TRUE(window->Connection().IsConnected());
    EXPECT_EQ(TitleOf(*window), "untitled - Tarnwell - @" + test_env::SqliteDsn());

    // A failed connect while connected ends Not connected.
    ChangeConnection(*window, "NoSuchDataSource", "", "");
    EXPECT_EQ(TakeMessageBoxes().size(), 1u);
    EXPECT_FALSE(window->Connection().IsConnected());
    EXPECT_EQ(TitleOf(*window), "untitled - Tarnwell - not connected");
    EXPECT_TRUE(TakeRefusedDialogs().empty());
}

TEST_F(ConnectTest, ExecuteWritesTheTranscriptIntoTheOutputPane) {
    CSecondWindow window(m_store, wxSize(700, 500));
    window->ScriptPane()->SetText(std::string_view("select 1"), false);
    EXPECT_TRUE(window->RunCommand(ID_EXECUTE));
    EXPECT_EQ(window->OutputPane()->GetText(), "not connected\r\n");
    EXPECT_TRUE(window->History().IsEmpty());

    const std::string dsn = test_env::NewSqliteDsn("ExecuteTest");
    ChangeConnection(*window, dsn, "", "");
    ASSERT_TRUE(window->Connection().IsConnected());
    window->RunCommand(ID_CLEAR_OUTPUT);
    const std::string script = "create table items(name varchar(10));\r\ninsert into items values ('pen');\r\n"
                               "select name from items;\r\nselect * from no_such_table;";
    window->ScriptPane()->SetText(std::string_view(script), false);
    EXPECT_TRUE(window->RunCommand(ID_EXECUTE));

    const std::string output = window->OutputPane()->GetText();
    const std::string start =
        "SQL> create table items(name varchar(10))\r\nok\r\nSQL> insert into items values ('pen')\r\nok\r\n";
    EXPECT_EQ(output.substr(0, start.size()), start);
    EXPECT_NE(output.find("SQL> select name from items\r\n"), std::string::npos) << output;
    EXPECT_NE(output.find("\r\npen"), std::string::npos) << output;
    EXPECT_NE(output.find("1 row(s) fetched\r\n"), std::string::npos) << output;
    EXPECT_NE(output.find("SQL> select * from no_such_table\r\nError: "), std::string::npos) << output;

    // The run ends with the script in the history, all of it selected, and
    // the status text cleared.
    ASSERT_EQ(window->History().Size(), 1u);
    EXPECT_EQ(window->History().Current(), script);
    EXPECT_EQ(window->ScriptPane()->GetControl()->GetSelectionStart(), 0);
    EXPECT_EQ(window->ScriptPane()->GetControl()->GetSelectionEnd(), static_cast<int>(script.size()));
    EXPECT_EQ(window->GetStatusBar()->GetStatusText(0), "");
}

TEST_F(ConnectTest, PreviousAndNextScriptStepThroughTheHistory) {
    CSecondWindow window(m_store, wxSize(700, 500));
    ChangeConnection(*window, test_env::SqliteDsn(), "", "");
    for (const char* script : {"select 1", "select 2", "select 3"}) {
        window->ScriptPane()->SetText(script, false);
        window->RunCommand(ID_EXECUTE);
    }
    EXPECT_TRUE(window->IsCommandEnabled(ID_PREVIOUS_SCRIPT));
    EXPECT_FALSE(window->IsCommandEnabled(ID_NEXT_SCRIPT));
    EXPECT_TRUE(window->RunCommand(ID_PREVIOUS_SCRIPT));
    EXPECT_TRUE(window->RunCommand(ID_PREVIOUS_SCRIPT));
    EXPECT_EQ(window->ScriptPane()->GetText(), "select 1");
    EXPECT_EQ(window->ScriptPane()->GetControl()->GetSelectionEnd(), 8);
    EXPECT_TRUE(window->Script()->IsModified());
    EXPECT_FALSE(window->RunCommand(ID_PREVIOUS_SCRIPT));
    EXPECT_TRUE(window->RunCommand(ID_NEXT_SCRIPT));
    EXPECT_EQ(window->ScriptPane()->GetText(), "select 2");

    // The History dialog opens on the current entry; OK on the newest loads it.
    int selectedAtStart = -1;
    const bool driven = WithModalDialog(
        [&](wxDialog& dialog) {
            auto* list = dynamic_cast<wxListBox*>(dialog.FindWindow(1008));
            ASSERT_NE(list, nullptr);
            selectedAtStart = list->GetSelection();
            list->SetSelection(2);
            gui_env::Click(dialog.FindWindow(wxID_OK));
        },
        [&] { EXPECT_TRUE(window->RunCommand(ID_HISTORY)); });
    ASSERT_TRUE(driven);
    EXPECT_EQ(selectedAtStart, 1);
    EXPECT_EQ(window->ScriptPane()->GetText(), "select 3");
    EXPECT_FALSE(window->IsCommandEnabled(ID_NEXT_SCRIPT));
}

TEST_F(ConnectTest, SaveOutputWritesTheTranscriptToTheChosenFile) {
    CSecondWindow window(m_store, wxSize(700, 500));
    window->OutputPane()->AppendText("SQL> select 1\r\nok\r\n");
    const std::string path = test_env::TempDir() + "/transcript.txt";
    ASSERT_TRUE(ChooseFile(path, [&] { EXPECT_TRUE(window->RunCommand(ID_SAVE_OUTPUT)); }));
    std::ifstream saved(path, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(saved)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, "SQL> select 1\r\nok\r\n");
}

TEST_F(ConnectTest, FindOpensTheFindDialogOverTheWindow) {
    CSecondWindow window(m_store, wxSize(700, 500));
    EXPECT_TRUE(window->IsCommandEnabled(wxID_FIND));
    EXPECT_TRUE(window->IsCommandEnabled(ID_FIND_NEXT));
    EXPECT_TRUE(window->IsCommandEnabled(wxID_REPLACE));
    ASSERT_TRUE(window->RunCommand(wxID_FIND));
    gui_env::Settle();
    bool open = false;
    for (wxWindow* top : wxTopLevelWindows)
        if (auto* dialog = dynamic_cast<wxFindReplaceDialog*>(top); dialog && dialog->GetParent() == &*window)
            open = dialog->IsShown();
    EXPECT_TRUE(open);
}

TEST_F(ConnectTest, CancelledCloseKeepsTheConnection) {
    CSecondWindow window(m_store, wxSize(600, 400));
    ChangeConnection(*window, test_env::SqliteDsn(), "scott", "");
    window->ScriptPane()->GetControl()->AddText("select 1");  // a modified script
    ASSERT_TRUE(window->Script()->IsModified());

    // The save prompt is answered with Cancel: the window stays, connected.
    EXPECT_FALSE(window.Close());
    const auto boxes = TakeMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Save changes to untitled?");
    EXPECT_EQ(boxes[0].caption, "Tarnwell");
    EXPECT_EQ(boxes[0].style & (wxYES_NO | wxCANCEL), wxYES_NO | wxCANCEL);
    EXPECT_TRUE(TakeRefusedDialogs().empty());
    EXPECT_TRUE(window->IsShown());
    EXPECT_TRUE(window->Connection().IsConnected());
    EXPECT_EQ(TitleOf(*window), "untitled - Tarnwell - scott@" + test_env::SqliteDsn());
    window->RunCommand(ID_EXECUTE);
    EXPECT_EQ(window->OutputPane()->GetText().substr(0, 14), "SQL> select 1\r");

    // Once the close goes ahead, the connection ends with it.
    window->Script()->Modify(false);
    EXPECT_TRUE(window.Close());
    EXPECT_FALSE(window->Connection().IsConnected());
}

}  // namespace
