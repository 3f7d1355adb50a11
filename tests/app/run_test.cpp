// A run in the real window: the window stays live, the transcript shows as
// it grows, Cancel stops the statement, the commands that would change
// anything wait for the end, and closing during a run cancels it first.
#include "app_test_env.h"
#include "second_window.h"

#include "app/command_ids.h"
#include "app/main_frame.h"
#include "app/ui_text.h"
#include "history/history_dlg.h"
#include "panes/output_pane.h"
#include "panes/script_pane.h"
#include "script/script.h"
#include "support/case_name.h"
#include "support/gui_env.h"
#include "support/test_env.h"
#include "support/transcript.h"

#include <wx/stc/stc.h>
#include <wx/timer.h>
#include <wx/toolbar.h>

#include <algorithm>
#include <regex>

using namespace app_test;

namespace {

const std::string kLongSqlite = "with recursive c(x) as (select 1 union all select x + 1 from c where x < 1000000000) "
                                "select count(*) as n from c";

// A statement cancelled while it runs. The pane once the statement runs and
// after Esc (regular expressions; a result's rows are checked apart).
struct CancelCase {
    const char* name;
    bool postgres;
    std::string statement;
    std::string running;
    std::string cancelled;
    bool rows = false;   // cancelled in the middle of its rows
};

const CancelCase kCancels[] = {
    {"PostgresSleep", true, "select pg_sleep(60)", "SQL> select pg_sleep\\(60\\)",
     "SQL> select pg_sleep\\(60\\)\r\nExecution cancelled\r\n"},
    {"SqliteComputing", false, kLongSqlite, "SQL> with recursive [^\r]*",
     "SQL> with recursive [^\r]*\r\n(n *\r\n-+ \r\n0 row\\(s\\) fetched\r\n)?Execution cancelled\r\n"},
    // Stopped in the middle of rows that the server streams: the rows so far
    // and their count.
    {"PostgresMidRowSet", true, "select x from generate_series(1, 100000000) x",
     "SQL> select x [^\r]*\r\nx +\r\n-+ \r\n", "\\d+ row\\(s\\) fetched\r\nExecution cancelled\r\n", true},
};

// Whether text is what the case expects: for a row set, the start and the
// end match and the count line counts the row lines between them.
bool Matches(const CancelCase& c, const std::string& text, const std::string& pattern) {
    if (!c.rows) return std::regex_match(text, std::regex(pattern));
    std::string tail;
    const long rows = transcript::RowsAfter(text, c.running, tail);
    if (&pattern == &c.running) return rows > 1000;
    return std::regex_match(tail, std::regex(c.cancelled)) && tail.starts_with(std::to_string(rows) + " ");
}

class RunCancelTest : public WindowTest, public ::testing::WithParamInterface<CancelCase> {};

// The commands that wait for the end of a run, and a few that stay.
const int kDisabledDuringRun[] = {ID_EXECUTE, wxID_NEW, wxID_OPEN, wxID_SAVE, ID_CHANGE_CONNECTION, ID_OPTIONS,
                                  ID_CLEAR_OUTPUT, ID_SAVE_OUTPUT, ID_HISTORY, wxID_REPLACE};
const int kEnabledDuringRun[] = {ID_CANCEL_EXECUTION, wxID_COPY, wxID_FIND, wxID_SELECTALL};

TEST_P(RunCancelTest, EscStopsTheStatementAndTheWindowStaysLive) {
    const CancelCase& c = GetParam();
    CSecondWindow window(wxSize(700, 500));
    if (c.postgres) {
        TARNWELL_REQUIRE_POSTGRES();
        const std::string dsn = c.rows ? test_env::NewPgDsn("RcStream", "UseDeclareFetch=1\nFetch=1000\n") : test_env::PgDsn();
        window->Connection().Connect(dsn, test_env::PgUser(), test_env::PgPassword());
    } else {
        window->Connection().Connect(test_env::NewSqliteDsn(std::string("Rc") + c.name), "", "");
    }
    window->ScriptPane()->SetText(std::string_view(c.statement + ";select 2 as y"), false);

    // A timer and the pane's repaints keep coming while the statement runs.
    int ticks = 0, paints = 0;
    wxTimer timer;
    timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) { ++ticks; });
    window->OutputPane()->GetControl()->Bind(wxEVT_PAINT, [&](wxPaintEvent& event) {
        ++paints;
        event.Skip();
    });
    timer.Start(10);
    PressKey(*window, WXK_RETURN, wxMOD_CONTROL);
    ASSERT_TRUE(gui_env::WaitUntil([&] { return Matches(c, window->OutputPane()->GetText(), c.running); }, 30000))
        << window->OutputPane()->GetText().substr(0, 200);
    const int ticksBefore = ticks, paintsBefore = paints;
    EXPECT_TRUE(gui_env::WaitUntil([&] { return ticks > ticksBefore + 3 && paints > paintsBefore; }, 10000));
    EXPECT_TRUE(window->IsRunning());
    for (const int id : kDisabledDuringRun) EXPECT_FALSE(window->IsCommandEnabled(id)) << "id " << id;
    for (const int id : kEnabledDuringRun) EXPECT_TRUE(window->IsCommandEnabled(id)) << "id " << id;
    EXPECT_TRUE(window->ScriptPane()->GetControl()->GetReadOnly());
    // The tool bar follows at idle time: Execute off, the stop button on.
    EXPECT_TRUE(gui_env::WaitUntil([&] {
        return !window->GetToolBar()->GetToolEnabled(ID_EXECUTE) &&
               window->GetToolBar()->GetToolEnabled(ID_CANCEL_EXECUTION);
    }));
    EXPECT_TRUE(gui_env::WaitUntil([&] {
        return StatusOf(*window).starts_with("Executing statement 1: ");
    }));

    PressKey(*window, WXK_ESCAPE);
    ASSERT_TRUE(FinishRun(*window));
    timer.Stop();
    EXPECT_TRUE(Matches(c, window->OutputPane()->GetText(), c.cancelled))
        << window->OutputPane()->GetText().substr(0, 200) << "..."
        << window->OutputPane()->GetText().substr(std::max<int>(0, window->OutputPane()->GetTextLength() - 200));
    // The run ends as any run: in the history, the script selected, the
    // commands back.
    EXPECT_EQ(window->History().Current(), c.statement + ";select 2 as y");
    EXPECT_EQ(window->ScriptPane()->GetControl()->GetSelectionEnd(), window->ScriptPane()->GetTextLength());
    for (const int id : {+ID_EXECUTE, +wxID_NEW, +ID_CLEAR_OUTPUT}) EXPECT_TRUE(window->IsCommandEnabled(id));
    EXPECT_FALSE(window->IsCommandEnabled(ID_CANCEL_EXECUTION));
    EXPECT_FALSE(window->ScriptPane()->GetControl()->GetReadOnly());
}

INSTANTIATE_TEST_SUITE_P(Window, RunCancelTest, ::testing::ValuesIn(kCancels), CaseName<CancelCase>);

// Closing the window during a run asks first; No keeps the run going, Yes
// cancels it and the window closes once it has ended.
TEST_F(WindowTest, ClosingDuringARunCancelsItFirst) {
    CSecondWindow window(wxSize(700, 500));
    window->Connection().Connect(test_env::NewSqliteDsn("RunClose"), "", "");
    window->ScriptPane()->SetText(std::string_view(kLongSqlite), false);
    window->Script()->Modify(false);
    window->RunCommand(ID_EXECUTE);
    ASSERT_TRUE(window->IsRunning());
    for (const int answer : {wxNO, wxYES}) {
        AnswerYesNo(answer);
        window->Close(false);
        ASSERT_EQ(TakeOneMessageBox().text, "A script is running. Cancel it and close?");
        EXPECT_TRUE(window->IsShown());
    }
    EXPECT_TRUE(gui_env::WaitUntil([&] { return !window.Exists(); }, 30000));
}

// With "Show elapsed time" on, every statement's output ends with its time.
TEST_F(WindowTest, ShowTimingAddsTheElapsedLines) {
    CSecondWindow window(wxSize(700, 500));
    window->Connection().Connect(test_env::NewSqliteDsn("RunTiming"), "", "");
    window->Settings().ShowTiming = 1;
    window->ScriptPane()->SetText(std::string_view("create table t(a int);select 1 as x"), false);
    Execute(*window);
    EXPECT_TRUE(std::regex_match(window->OutputPane()->GetText(),
                                 std::regex("SQL> create table t\\(a int\\)\r\nok\r\nElapsed: \\d+\\.\\d{3} s\r\n"
                                            "SQL> select 1 as x\r\n[^]*1 row\\(s\\) fetched\r\nElapsed: \\d+\\.\\d{3} s\r\n")))
        << window->OutputPane()->GetText();
}

// The scripts run in a window come back in the next one (the durable
// history), Alt+Left newest first, and the History dialog can search them.
TEST_F(WindowTest, RunsSurviveTheWindowAndTheDialogSearchesThem) {
    const std::vector<std::string> scripts = {"select 'alpha' as w", "select 'beta' as w", "select 'gamma' as w"};
    {
        CSecondWindow window(wxSize(700, 500));
        window->Connection().Connect(test_env::NewSqliteDsn("RunHistory"), "", "");
        for (const std::string& script : scripts) {
            window->ScriptPane()->SetText(std::string_view(script), false);
            Execute(*window);
        }
        window->Script()->Modify(false);
        ASSERT_TRUE(window.Close());
    }
    CSecondWindow window(wxSize(700, 500));
    for (auto it = scripts.rbegin(); it != scripts.rend(); ++it) {
        ASSERT_TRUE(window->RunCommand(ID_PREVIOUS_SCRIPT));
        EXPECT_EQ(window->ScriptPane()->GetText(), *it);
    }
    window->Script()->Modify(false);

    // The History dialog searches the stored scripts (the search itself is
    // tried on the dialog alone).
    EXPECT_TRUE(WithModalDialog(
        [](wxDialog& dialog) { EXPECT_NE(dialog.FindWindow(CHistoryDlg::kSearchId), nullptr); },
        [&] { window->RunCommand(ID_HISTORY); }));
    window->Script()->Modify(false);
}

}  // namespace
