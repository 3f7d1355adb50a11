// Execute Current Statement in the real window: the statement under the
// caret, or the selected text, runs as a script of its own and stays
// selected, and its transcript is that of the same text run alone.
#include "app_test_env.h"
#include "second_window.h"

#include "app/command_ids.h"
#include "app/main_frame.h"
#include "app/ui_text.h"
#include "panes/output_pane.h"
#include "panes/script_pane.h"
#include "support/gui_env.h"
#include "support/test_env.h"

#include <wx/statusbr.h>
#include <wx/stc/stc.h>

using namespace app_test;

namespace {

const std::string kScript =
    "create table t(a int);\r\n"
    "insert into t values (1);\r\n"
    "-- the rows\r\n"
    "select a from t;\r\n"
    "select * from nosuch;\r\n";

// Where the caret or the selection stands ("from" == "to": the caret), as
// the text before it; and the text that runs.
struct StatementCase {
    const char* name;
    std::string before, selected;
    std::string ran;
};

const StatementCase kCases[] = {
    {"CaretInAStatement", "create table t(a int);\r\ninsert in", "", "insert into t values (1)"},
    {"CaretAfterSemicolon", "create table t(a int);\r\ninsert into t values (1); ", "",
     "insert into t values (1)"},
    {"CaretBeforeTheFirst", "", "", "create table t(a int)"},
    {"CaretInComment", "create table t(a int);\r\ninsert into t values (1);\r\n-- the", "",
     "insert into t values (1)"},
    {"Selection", "create table t(a int);\r\n", "insert into t values (1);\r\n-- the rows\r\nselect a from t;",
     "insert into t values (1);\r\n-- the rows\r\nselect a from t;"},
};

class StatementRunTest : public WindowTest, public ::testing::WithParamInterface<StatementCase> {};

TEST_P(StatementRunTest, RunsTheStatementUnderTheCaretOrTheSelectionAlone) {
    const StatementCase& c = GetParam();
    CSecondWindow window(wxSize(700, 500));
    wxStyledTextCtrl& script = *window->ScriptPane()->GetControl();
    // A database of its own, with the table unless the text makes it.
    const auto prepare = [&](const std::string& name) {
        window->Connection().Connect(test_env::NewSqliteDsn(name + c.name), "", "");
        if (!c.ran.starts_with("create")) {
            window->ScriptPane()->SetText(std::string_view("create table t(a int)"), false);
            Execute(*window);
        }
        window->RunCommand(ID_CLEAR_OUTPUT);
    };
    prepare("Alone");
    window->ScriptPane()->SetText(std::string_view(c.ran), false);
    Execute(*window);
    const std::string alone = window->OutputPane()->GetText();

    prepare("Stmt");
    window->ScriptPane()->SetText(std::string_view(kScript), false);
    const int from = static_cast<int>(c.before.size());
    script.SetSelection(from, from + static_cast<int>(c.selected.size()));
    for (int press = 0; press < 2; ++press) {
        // Pressed again, it runs the same text: the one selected now.
        window->RunCommand(ID_CLEAR_OUTPUT);
        PressKey(*window, WXK_RETURN, wxMOD_CONTROL | wxMOD_SHIFT);
        ASSERT_TRUE(FinishRun(*window));
        if (press == 0) {
            EXPECT_EQ(window->OutputPane()->GetText(), alone);
        }
        EXPECT_EQ(window->History().Current(), c.ran);
        const std::size_t at = kScript.find(c.ran);
        EXPECT_EQ(script.GetSelectionStart(), static_cast<int>(at));
        EXPECT_EQ(script.GetSelectionEnd(), static_cast<int>(at + c.ran.size()));
    }
}

INSTANTIATE_TEST_SUITE_P(Window, StatementRunTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<StatementCase>& info) { return std::string(info.param.name); });

// After a run each statement is marked at its first line; F8 and a double
// click on a statement's output lead to it; an edit takes its mark away.
TEST_F(WindowTest, RunMarksLeadBackToTheStatements) {
    CSecondWindow window(wxSize(700, 500));
    wxStyledTextCtrl& script = *window->ScriptPane()->GetControl();
    window->Connection().Connect(test_env::NewSqliteDsn("Marks"), "", "");
    window->ScriptPane()->SetText(std::string_view(kScript), false);
    Execute(*window);
    // The markers of lines 0, 1, 3 and 4: succeeded (bit 0) or failed (bit 1).
    const auto marks = [&] {
        std::string text;
        for (int line = 0; line < 5; ++line) text += std::to_string(script.MarkerGet(line));
        return text;
    };
    EXPECT_EQ(marks(), "11012");
    const std::size_t failed = kScript.find("select * from nosuch");

    script.GotoPos(0);
    ASSERT_TRUE(window->RunCommand(ID_NEXT_ERROR));
    EXPECT_EQ(script.GetCurrentPos(), static_cast<int>(failed));
    EXPECT_EQ(FromUiString(window->GetStatusBar()->GetStatusText()),
              "Error: [SQLite]no such table: nosuch (1) SQLSTATE = S1000");

    // A double click on the error line selects the failed statement.
    const std::string output = window->OutputPane()->GetText();
    wxStyledTextEvent click(wxEVT_STC_DOUBLECLICK, window->OutputPane()->GetControl()->GetId());
    click.SetEventObject(window->OutputPane()->GetControl());
    click.SetPosition(static_cast<int>(output.find("no such table")));
    script.GotoPos(0);
    window->OutputPane()->GetControl()->ProcessWindowEvent(click);
    EXPECT_EQ(script.GetSelectionStart(), static_cast<int>(failed));
    EXPECT_EQ(script.GetSelectionEnd(), static_cast<int>(failed + std::string("select * from nosuch").size()));

    // Resting the pointer on the failed mark shows the message.
    wxStyledTextEvent dwell(wxEVT_STC_DWELLSTART, script.GetId());
    dwell.SetEventObject(&script);
    dwell.SetX(script.GetMarginWidth(0) + 2);
    dwell.SetY((4 - script.GetFirstVisibleLine()) * script.TextHeight(0) + 2);
    script.ProcessWindowEvent(dwell);
    EXPECT_TRUE(script.CallTipActive());
    script.CallTipCancel();

    // Typing into the failed statement takes its mark away; the others stay.
    script.InsertText(static_cast<int>(failed + 7), "x");
    EXPECT_TRUE(gui_env::WaitUntil([&] { return marks() == "11010"; })) << marks();
    EXPECT_FALSE(window->IsCommandEnabled(ID_NEXT_ERROR));
    window->OutputPane()->GetControl()->ProcessWindowEvent(click);
    EXPECT_EQ(FromUiString(window->GetStatusBar()->GetStatusText()), "The statement is no longer in the script");
}

// The squiggle covers the token that the driver's message names.
TEST_F(WindowTest, TheSpotOfASyntaxErrorIsUnderlined) {
    const struct {
        bool postgres;
        std::string script, token;
    } cases[] = {
        {false, "select 1;\r\n  selec 2;", "selec"},
        {true, "select 1;\r\n/* frm */ select 'frm', * frm t;", "frm"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        CSecondWindow window(wxSize(700, 500));
        if (c.postgres) {
            TARNWELL_REQUIRE_POSTGRES();
            window->Connection().Connect(test_env::PgDsn(), test_env::PgUser(), test_env::PgPassword());
        } else {
            window->Connection().Connect(test_env::NewSqliteDsn("Squiggle"), "", "");
        }
        window->ScriptPane()->SetText(std::string_view(c.script), false);
        Execute(*window);
        wxStyledTextCtrl& script = *window->ScriptPane()->GetControl();
        std::string underlined;
        for (int at = 0; at < script.GetTextLength(); ++at)
            if (script.IndicatorValueAt(8, at)) underlined += c.script[static_cast<std::size_t>(at)];
        EXPECT_EQ(underlined, c.token);
    }
}

// On PostgreSQL too the statement under the caret runs alone, with the same
// transcript as when it is the whole script, and F8 walks the failures.
TEST_F(WindowTest, OnPostgresTheStatementUnderTheCaretRunsAlone) {
    TARNWELL_REQUIRE_POSTGRES();
    CSecondWindow window(wxSize(700, 500));
    wxStyledTextCtrl& script = *window->ScriptPane()->GetControl();
    window->Connection().Connect(test_env::PgDsn(), test_env::PgUser(), test_env::PgPassword());
    const std::string text = "select 1 as one;\r\nselect * from tw_no_such_a;\r\nselect 'b;c' as two;\r\n"
                             "select * from tw_no_such_b;";
    window->ScriptPane()->SetText(std::string_view("select 'b;c' as two"), false);
    Execute(*window);
    const std::string alone = window->OutputPane()->GetText();
    window->RunCommand(ID_CLEAR_OUTPUT);
    window->ScriptPane()->SetText(std::string_view(text), false);
    script.GotoPos(static_cast<int>(text.find("'b;")) + 2);
    window->RunCommand(ID_EXECUTE_STATEMENT);
    ASSERT_TRUE(FinishRun(*window));
    EXPECT_EQ(window->OutputPane()->GetText(), alone);

    Execute(*window);
    script.GotoPos(0);
    for (const char* table : {"tw_no_such_a", "tw_no_such_b", "tw_no_such_a"}) {
        window->RunCommand(ID_NEXT_ERROR);
        EXPECT_EQ(script.GetCurrentPos(), static_cast<int>(text.find(std::string("select * from ") + table)));
    }
    window->RunCommand(ID_PREVIOUS_ERROR);
    EXPECT_EQ(script.GetCurrentPos(), static_cast<int>(text.find("select * from tw_no_such_b")));
}

}  // namespace
