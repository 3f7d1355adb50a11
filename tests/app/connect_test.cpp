// The Connect dialog of a window, the run of a script on the connection, the
// history of runs, the lost server, transactions (Auto Commit off, the TXN
// field, Commit and Rollback) and the end of the connection with the window.
#include "app_test_env.h"

#include "db/connect_dlg.h"
#include "exec/recording_host.h"
#include "exec/recording_sink.h"
#include "exec/text_statement_source.h"
#include "history/history_dlg.h"
#include "support/default_settings.h"
#include "support/transcript.h"

#include <algorithm>
#include <cstdlib>
#include <regex>

#include <wx/listbox.h>
#include <wx/odcombo.h>

using namespace app_test;
using namespace transcript;

namespace {

using ConnectTest = WindowTest;

// Cancel changes nothing and keeps nothing of what was typed; a failed
// connect shows the diagnostic, ends the connection and keeps the values.
// Connected, the title names user and data source and Ctrl+Enter writes the
// transcript into the output pane, until the closing window ends the
// connection; a close cancelled at the save prompt keeps it.
TEST_F(ConnectTest, TheConnectionLastsUntilAFailedConnectOrTheClosedWindowEndsIt) {
    CSecondWindow window(wxSize(700, 500));
    const std::string dsn = test_env::SqliteDsn();
    EXPECT_EQ(TitleOf(*window), "untitled - Tarnwell - not connected");
    const auto ctrlEnter = [&](const std::string& script) {
        window->RunCommand(ID_CLEAR_OUTPUT);
        window->ScriptPane()->SetText(std::string_view(script), false);
        PressKey(*window, WXK_RETURN, wxMOD_CONTROL);
        FinishRun(*window);
    };
    ctrlEnter("select 1");
    EXPECT_EQ(OutputOf(*window), "not connected\r\n");
    EXPECT_TRUE(window->History().IsEmpty());
    EXPECT_EQ(ConnectWindow(*window, dsn, "scott", "tiger", wxID_CANCEL), "//");
    EXPECT_EQ(TitleOf(*window), "untitled - Tarnwell - not connected");
    EXPECT_FALSE(window->Connection().IsConnected());
    EXPECT_EQ(ConnectWindow(*window, dsn), "//");
    EXPECT_EQ(ConnectWindow(*window, "Other", "x", "y", wxID_CANCEL), dsn + "//");
    EXPECT_TRUE(window->Connection().IsConnected());
    EXPECT_EQ(TitleOf(*window), "untitled - Tarnwell - @" + dsn);
    EXPECT_TRUE(TakeMessageBoxes().empty());

    EXPECT_EQ(ConnectWindow(*window, "NoSuchDataSource", "ann", "secret"), dsn + "//");
    const std::string failure = TakeOneMessageBox(wxICON_EXCLAMATION).text;
    EXPECT_TRUE(std::regex_match(
        failure, std::regex("\r\nError: [^]*SQLSTATE = IM002[^]*\nKnown data sources: " + dsn + " \\(user\\)[^]*")))
        << failure;
    EXPECT_FALSE(window->Connection().IsConnected());
    EXPECT_EQ(TitleOf(*window), "untitled - Tarnwell - not connected");
    EXPECT_EQ(ConnectWindow(*window, dsn, "scott", "", wxID_CANCEL), "NoSuchDataSource/ann/secret");

    ConnectWindow(*window, dsn, "scott");
    EXPECT_EQ(TitleOf(*window), "untitled - Tarnwell - scott@" + dsn);
    const std::string script = "create table items(name varchar(10));\r\ninsert into items values ('pen');\r\n"
                               "select name from items;\r\nselect * from no_such_table;";
    ctrlEnter(script);
    const std::string expected = Ok("create table items(name varchar(10))") + Ok("insert into items values ('pen')") +
                                 OneValue("select name from items", "name", "pen") +
                                 Echo("select * from no_such_table\r\nError: ");
    EXPECT_EQ(OutputOf(*window).substr(0, expected.size()), expected);
    // The run ends with the script in the history, all of it selected.
    ASSERT_EQ(window->History().Size(), 1u);
    EXPECT_EQ(window->History().Current(), script);
    EXPECT_EQ(window->ScriptPane()->GetControl()->GetSelectionEnd(), static_cast<int>(script.size()));

    window->ScriptPane()->GetControl()->AddText("select 1");  // a modified script
    EXPECT_FALSE(window.Close());
    EXPECT_EQ(TakeOneMessageBox(wxYES_NO | wxCANCEL).text, "Save changes to untitled?");
    EXPECT_TRUE(window->IsShown());
    EXPECT_TRUE(window->Connection().IsConnected());
    EXPECT_EQ(TitleOf(*window), "untitled - Tarnwell - scott@" + dsn);

    window->Script()->Modify(false);
    EXPECT_TRUE(window.Close());
    EXPECT_FALSE(window->Connection().IsConnected());
}

// The data source field offers the driver manager's data sources with their
// driver's description; choosing one puts its name into the field. A
// connection string connects with the dialog's user name and password, and
// the title names the user and the string's DSN, never a password.
TEST_F(ConnectTest, TheDropDownListsTheDataSourcesAndAConnectionStringConnects) {
    CSecondWindow window(wxSize(600, 400));
    const std::string dsn = test_env::NewSqliteDsn("DropDownTest");
    const std::string entry = dsn + " (SQLite3 ODBC Driver)";
    std::vector<std::string> entries;
    EXPECT_TRUE(WithModalDialog(
        [&](wxDialog& dialog) {
            auto* box = dynamic_cast<wxOwnerDrawnComboBox*>(dialog.FindWindow(CConnectDlg::IDC_DATASOURCE));
            ASSERT_NE(box, nullptr);
            ASSERT_TRUE(gui_env::WaitUntil([&] { return box->GetCount() > 0; }));
            for (unsigned i = 0; i < box->GetCount(); ++i) entries.push_back(FromUiString(box->GetString(i)));
            const int chosen = box->FindString(ToUiString(entry), true);
            ASSERT_NE(chosen, wxNOT_FOUND);
            box->SetSelection(chosen);
            gui_env::Notify(*box, wxEVT_COMBOBOX, chosen);
            EXPECT_EQ(FromUiString(box->GetValue()), dsn);
            gui_env::Click(dialog.FindWindow(wxID_OK));
        },
        [&] { PressKey(*window, 'D', wxMOD_CONTROL); }));
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(entries.front(), test_env::SqliteDsn() + " (SQLite3 ODBC Driver)");
    EXPECT_EQ(std::count(entries.begin(), entries.end(), entries.front()), 1);
    EXPECT_EQ(TitleOf(*window), "untitled - Tarnwell - @" + dsn);

    ConnectWindow(*window, "DSN=" + dsn + ";PWD=typed-secret", "ann", "dialog-secret");
    EXPECT_TRUE(window->Connection().IsConnected());
    EXPECT_EQ(TitleOf(*window), "untitled - Tarnwell - ann@" + dsn);
    EXPECT_TRUE(TakeMessageBoxes().empty());
}

// The server goes away under a run: the transcript has the driver's message
// for every later statement, and the status bar says what to do until the
// next connect. Once the server is back, the next Execute asks to connect
// again: No runs on the lost connection, Yes connects with the last
// connect's values and runs; Change Connection works as well.
TEST_F(ConnectTest, ALostServerIsNamedUntilTheNextConnectAndExecuteOffersToConnectAgain) {
    TARNWELL_REQUIRE_POSTGRES();
    CSecondWindow window(wxSize(700, 500));
    const std::string dsn = test_env::NewFaultPgDsn("WindowFault");
    ConnectWindow(*window, dsn, test_env::PgUser(), test_env::PgPassword());
    for (const int answer : {wxNO, wxYES}) {
        SCOPED_TRACE(answer == wxYES ? "yes" : "no");
        window->RunCommand(ID_CLEAR_OUTPUT);
        RunScript(*window, "select 1 as n;" + test_env::StopFaultServerSql() + ";select 2 as n");
        const bool restarted = test_env::ControlFaultServer("start");
        EXPECT_TRUE(OutputOf(*window).starts_with(OneValue("select 1 as n", "n", "1"))) << OutputOf(*window);
        EXPECT_NE(OutputOf(*window).find("SQL> select 2 as n\r\nError: "), std::string::npos);
        EXPECT_EQ(StatusOf(*window), kConnectionLostText);
        ASSERT_TRUE(restarted);
        ASSERT_TRUE(window->Connection().IsLost());

        window->RunCommand(ID_CLEAR_OUTPUT);
        AnswerYesNo(answer);
        RunScript(*window, "select 2 as n");
        EXPECT_EQ(TakeOneMessageBox().text,
                  "The connection to " + window->ConnectionText() + " was lost. Connect again and run?");
        EXPECT_EQ(window->Connection().IsLost(), answer == wxNO);
        EXPECT_EQ(StatusOf(*window), answer == wxNO ? kConnectionLostText : "");
        if (answer == wxYES) {
            EXPECT_EQ(OutputOf(*window), OneValue("select 2 as n", "n", "2"));
        }
        ConnectWindow(*window, dsn, test_env::PgUser(), test_env::PgPassword());
        EXPECT_EQ(StatusOf(*window), "");
    }
}

// Alt+Left and Alt+Right load whole scripts of the history, as does the
// History dialog, which opens on the current entry and can search the
// stored scripts (the search itself is tried on the dialog alone). The runs
// come back in the next window (the durable history), Alt+Left newest first.
TEST_F(ConnectTest, PreviousNextAndTheHistoryDialogLoadWholeScriptsAlsoInTheNextWindow) {
    // A history of its own: the earlier tests' runs are in the process's one.
    const std::string state = std::getenv("XDG_STATE_HOME");
    setenv("XDG_STATE_HOME", test_env::TempPath("history-of-its-own").c_str(), 1);
    const std::vector<std::string> scripts = {"select 1", "select 2", "select\r\n3"};
    {
        CSecondWindow window(wxSize(700, 500));
        ConnectWindow(*window, test_env::SqliteDsn());
        for (const std::string& script : scripts) RunScript(*window, script);
        EXPECT_FALSE(window->IsCommandEnabled(ID_NEXT_SCRIPT));
        PressKey(*window, WXK_LEFT, wxMOD_ALT);
        PressKey(*window, WXK_LEFT, wxMOD_ALT);
        EXPECT_EQ(window->ScriptPane()->GetText(), "select 1");
        EXPECT_EQ(window->ScriptPane()->GetControl()->GetSelectionEnd(), 8);
        EXPECT_TRUE(window->Script()->IsModified());
        EXPECT_FALSE(window->IsCommandEnabled(ID_PREVIOUS_SCRIPT));
        PressKey(*window, WXK_RIGHT, wxMOD_ALT);
        EXPECT_EQ(window->ScriptPane()->GetText(), "select 2");

        // OK on the newest entry loads all of it, not the line the list shows.
        int selectedAtStart = -1;
        EXPECT_TRUE(WithModalDialog(
            [&](wxDialog& dialog) {
                EXPECT_NE(dialog.FindWindow(CHistoryDlg::kSearchId), nullptr);
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
        EXPECT_TRUE(window.Close());
    }
    CSecondWindow window(wxSize(700, 500));
    setenv("XDG_STATE_HOME", state.c_str(), 1);
    for (auto it = scripts.rbegin(); it != scripts.rend(); ++it) {
        ASSERT_TRUE(window->RunCommand(ID_PREVIOUS_SCRIPT));
        EXPECT_EQ(window->ScriptPane()->GetText(), *it);
    }
    window->Script()->Modify(false);
}

constexpr int kTransactionField = 4;

struct DataSource {
    std::string dsn, user, password;
};

// Runs script on a connection of its own and returns its transcript.
std::string RunElsewhere(const DataSource& source, const std::string& script) {
    CDbConnection connection;
    connection.Connect(source.dsn, source.user, source.password);
    CHistoryList history;
    CRecordingSink output(80);
    std::vector<std::string> events;
    CRecordingHost host(events);
    CTextStatementSource statements(script);
    CScriptRunner(connection, history, output, host).Run(statements, DefaultSettings());
    return output.Text();
}

// The number of rows committed.
std::string Committed(const DataSource& source) {
    return FirstValue(RunElsewhere(source, "select count(*) as n from tw_wtxn"));
}

// A window connected to source with Auto Commit turned off, one insert run.
void InsertWithoutCommit(CSecondWindow& window, const DataSource& source) {
    ConnectWindow(*window, source.dsn, source.user, source.password);
    ASSERT_TRUE(window->Connection().IsConnected());
    if (window->Settings().AutoCommit != 0) {
        ASSERT_TRUE(window->RunCommand(ID_AUTO_COMMIT));
    }
    EXPECT_EQ(StatusOf(*window, kTransactionField), "");
    RunScript(*window, "insert into tw_wtxn values (1)");
    window->Script()->Modify(false);
    EXPECT_EQ(StatusOf(*window, kTransactionField), "TXN");
}

// TXN shows from the first statement after Auto Commit was turned off until
// Rollback (Ctrl+Shift+R) or Commit (Ctrl+Shift+C) ends the transaction,
// each written into the output like a statement. Closing with a transaction
// open asks; Cancel keeps the window and the transaction, No rolls back and
// closes, Yes commits and closes.
TEST_F(ConnectTest, TxnShowsUntilCommitRollbackOrTheClosingWindowEndsIt) {
    std::vector<DataSource> sources = {{test_env::NewSqliteDsn("WindowTxn"), "", ""}};
    if (test_env::HavePostgres()) sources.push_back({test_env::PgDsn(), test_env::PgUser(), test_env::PgPassword()});
    for (const DataSource& source : sources) {
        SCOPED_TRACE(source.dsn);
        RunElsewhere(source, "drop table if exists tw_wtxn;create table tw_wtxn (n integer)");
        {
            CSecondWindow window(wxSize(700, 500));
            for (const auto& [key, end, rows] : {std::tuple{'R', "rollback", "0"}, std::tuple{'C', "commit", "1"}}) {
                InsertWithoutCommit(window, source);
                EXPECT_EQ(Committed(source), "0");
                PressKey(*window, key, wxMOD_CONTROL | wxMOD_SHIFT);
                FinishRun(*window);
                EXPECT_TRUE(OutputOf(*window).ends_with(Ok(end))) << OutputOf(*window);
                EXPECT_EQ(StatusOf(*window, kTransactionField), "");
                EXPECT_EQ(Committed(source), rows);
            }
        }
        for (const auto& [answers, rows] :
             {std::pair{std::vector{wxCANCEL, wxNO}, "0"}, std::pair{std::vector{wxYES}, "1"}}) {
            RunElsewhere(source, "delete from tw_wtxn");
            CSecondWindow window(wxSize(700, 500));
            InsertWithoutCommit(window, source);
            for (const int answer : answers) {
                AnswerYesNo(answer);
                window.Close();
                EXPECT_EQ(TakeOneMessageBox().text, "Commit the open transaction?");
                if (answer == wxCANCEL)
                    EXPECT_EQ(StatusOf(*window, kTransactionField), "TXN");
                else
                    EXPECT_TRUE(gui_env::WaitUntil([&] { return !window.Exists(); }, 30000));
            }
            EXPECT_EQ(Committed(source), rows);
        }
        RunElsewhere(source, "drop table tw_wtxn");
    }
}

}  // namespace
