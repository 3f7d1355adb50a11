// A run in the real window: the window stays live, the transcript shows as
// it grows, Cancel stops the statement, the commands that would change
// anything wait for the end, and closing during a run asks, and cancels it
// first.
// Execute Current Statement: the statement under the caret, or the selected
// text, runs as a script of its own and stays selected, and its transcript
// is that of the same text run alone. The marks a run leaves.
#include "app_test_env.h"

#include "support/case_name.h"
#include "support/transcript.h"

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

const std::string kCloseQuestion = "A script is running. Cancel it and close?";

class RunCancelTest : public WindowTest, public ::testing::WithParamInterface<CancelCase> {};

// The commands that wait for the end of a run, and a few that stay.
const int kDisabledDuringRun[] = {ID_EXECUTE, wxID_NEW, wxID_OPEN, wxID_SAVE, ID_CHANGE_CONNECTION, ID_OPTIONS,
                                  ID_CLEAR_OUTPUT, ID_SAVE_OUTPUT, ID_HISTORY, wxID_REPLACE};
const int kEnabledDuringRun[] = {ID_CANCEL_EXECUTION, wxID_COPY, wxID_FIND, wxID_SELECTALL};

TEST_P(RunCancelTest, EscStopsTheStatementAndTheWindowStaysLive) {
    const CancelCase& c = GetParam();
    if (c.postgres) TARNWELL_REQUIRE_POSTGRES();
    CSecondWindow window(wxSize(700, 500));
    if (c.postgres)
        ConnectPostgres(*window, c.rows ? test_env::NewPgDsn("RcStream", "UseDeclareFetch=1\nFetch=1000\n")
                                        : test_env::PgDsn());
    else
        Connect(*window, test_env::NewSqliteDsn(std::string("Rc") + c.name));
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
    ASSERT_TRUE(gui_env::WaitUntil([&] { return Matches(c, OutputOf(*window), c.running); }, 30000))
        << OutputOf(*window).substr(0, 200);
    const int ticksBefore = ticks, paintsBefore = paints;
    // A repaint asked for now comes while the statement still runs (nothing
    // else need ask for one while a statement prints nothing).
    window->OutputPane()->GetControl()->Refresh();
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
    EXPECT_TRUE(gui_env::WaitUntil([&] { return StatusOf(*window).starts_with("Executing statement 1: "); }));
    // Closing asks first; No keeps the run going.
    window->Close(false);
    EXPECT_EQ(TakeOneMessageBox().text, kCloseQuestion);
    EXPECT_TRUE(window->IsShown() && window->IsRunning());

    PressKey(*window, WXK_ESCAPE);
    ASSERT_TRUE(FinishRun(*window));
    timer.Stop();
    const std::string output = OutputOf(*window);
    EXPECT_TRUE(Matches(c, output, c.cancelled))
        << output.substr(0, 200) << "..." << output.substr(output.size() - std::min<size_t>(output.size(), 200));
    // The run ends as any run: in the history, the script selected, the
    // commands back.
    EXPECT_EQ(window->History().Current(), c.statement + ";select 2 as y");
    EXPECT_EQ(window->ScriptPane()->GetControl()->GetSelectionEnd(), window->ScriptPane()->GetTextLength());
    for (const int id : {+ID_EXECUTE, +wxID_NEW, +ID_CLEAR_OUTPUT}) EXPECT_TRUE(window->IsCommandEnabled(id));
    EXPECT_FALSE(window->IsCommandEnabled(ID_CANCEL_EXECUTION));
    EXPECT_FALSE(window->ScriptPane()->GetControl()->GetReadOnly());

    // Yes cancels the run, and the window closes once it has ended.
    window->Script()->Modify(false);
    window->RunCommand(ID_EXECUTE);
    AnswerYesNo(wxYES);
    window->Close(false);
    EXPECT_EQ(TakeOneMessageBox().text, kCloseQuestion);
    EXPECT_TRUE(window->IsShown());
    EXPECT_TRUE(gui_env::WaitUntil([&] { return !window.Exists(); }, 30000));
}

INSTANTIATE_TEST_SUITE_P(Window, RunCancelTest, ::testing::ValuesIn(kCancels), CaseName<CancelCase>);

const std::string kScript =
    "create table t(a int);\r\n"
    "insert into t values (1);\r\n"
    "-- the rows\r\n"
    "select a from t;\r\n"
    "select * from nosuch;\r\n";

// On PostgreSQL, with a semicolon inside a string.
const std::string kPgScript = "select 1 as one;\r\nselect * from tw_no_such_a;\r\nselect 'b;c' as two;\r\n"
                              "select * from tw_no_such_b;";

// A script, where the caret or the selection stands in it (the text before
// it, and the text selected: none for the caret), and the text that runs.
struct StatementCase {
    const char* name;
    bool postgres;
    const std::string& script;
    std::string before, selected;
    std::string ran;
};

const StatementCase kStatements[] = {
    {"CaretInAStatement", false, kScript, "create table t(a int);\r\ninsert in", "", "insert into t values (1)"},
    {"CaretAfterSemicolon", false, kScript, "create table t(a int);\r\ninsert into t values (1); ", "",
     "insert into t values (1)"},
    {"CaretBeforeTheFirst", false, kScript, "", "", "create table t(a int)"},
    {"CaretInComment", false, kScript, "create table t(a int);\r\ninsert into t values (1);\r\n-- the", "",
     "insert into t values (1)"},
    {"Selection", false, kScript, "create table t(a int);\r\n",
     "insert into t values (1);\r\n-- the rows\r\nselect a from t;",
     "insert into t values (1);\r\n-- the rows\r\nselect a from t;"},
    {"PostgresSemicolonInAString", true, kPgScript, "select 1 as one;\r\nselect * from tw_no_such_a;\r\nselect 'b", "",
     "select 'b;c' as two"},
};

class StatementRunTest : public WindowTest, public ::testing::WithParamInterface<StatementCase> {};

TEST_P(StatementRunTest, RunsTheStatementUnderTheCaretOrTheSelectionAlone) {
    const StatementCase& c = GetParam();
    if (c.postgres) TARNWELL_REQUIRE_POSTGRES();
    CSecondWindow window(wxSize(700, 500));
    // A SQLite database of its own, with the table unless the text makes it.
    const auto prepare = [&](const std::string& name) {
        if (c.postgres) return ConnectPostgres(*window);
        Connect(*window, test_env::NewSqliteDsn(name + c.name));
        if (!c.ran.starts_with("create")) RunScript(*window, "create table t(a int)");
        window->RunCommand(ID_CLEAR_OUTPUT);
    };
    prepare("Alone");
    RunScript(*window, c.ran);
    const std::string alone = OutputOf(*window);

    prepare("Stmt");
    window->ScriptPane()->SetText(std::string_view(c.script), false);
    const int from = static_cast<int>(c.before.size());
    window->ScriptPane()->GetControl()->SetSelection(from, from + static_cast<int>(c.selected.size()));
    const int at = static_cast<int>(c.script.find(c.ran));
    for (int press = 0; press < 2; ++press) {
        // Pressed again, it runs the same text: the one selected now.
        window->RunCommand(ID_CLEAR_OUTPUT);
        PressKey(*window, WXK_RETURN, wxMOD_CONTROL | wxMOD_SHIFT);
        ASSERT_TRUE(FinishRun(*window));
        if (press == 0) {
            EXPECT_EQ(OutputOf(*window), alone);
        }
        EXPECT_EQ(window->History().Current(), c.ran);
        EXPECT_EQ(SelectionOf(window->ScriptPane()), std::pair(at, at + static_cast<int>(c.ran.size())));
    }
}

INSTANTIATE_TEST_SUITE_P(Window, StatementRunTest, ::testing::ValuesIn(kStatements), CaseName<StatementCase>);

// After a run each statement is marked at its first line; F8 and a double
// click on a statement's output lead to it; an edit takes its mark away.
// With "Show elapsed time" on, every statement's output ends with its time.
TEST_F(WindowTest, RunMarksLeadBackToTheStatements) {
    CSecondWindow window(wxSize(700, 500));
    wxStyledTextCtrl& script = *window->ScriptPane()->GetControl();
    Connect(*window, test_env::NewSqliteDsn("Marks"));
    window->Settings().ShowTiming = 1;
    RunScript(*window, kScript);
    const std::string elapsed = "Elapsed: \\d+\\.\\d{3} s\r\n";
    EXPECT_TRUE(std::regex_match(OutputOf(*window),
                                 std::regex("SQL> create table t\\(a int\\)\r\nok\r\n" + elapsed +
                                            "SQL> insert into t values \\(1\\)\r\nok\r\n" + elapsed +
                                            "SQL> [^]*select a from t\r\n[^]*1 row\\(s\\) fetched\r\n" + elapsed +
                                            "SQL> select \\* from nosuch\r\nError: [^]*\r\n" + elapsed)))
        << OutputOf(*window);
    // The markers of lines 0, 1, 3 and 4: succeeded (bit 0) or failed (bit 1).
    const auto marks = [&] {
        std::string text;
        for (int line = 0; line < 5; ++line) text += std::to_string(script.MarkerGet(line));
        return text;
    };
    EXPECT_EQ(marks(), "11012");
    const std::string failing = "select * from nosuch";
    const int failed = static_cast<int>(kScript.find(failing));

    script.GotoPos(0);
    ASSERT_TRUE(window->RunCommand(ID_NEXT_ERROR));
    EXPECT_EQ(script.GetCurrentPos(), failed);
    EXPECT_EQ(StatusOf(*window), "Error: [SQLite]no such table: nosuch (1) SQLSTATE = S1000");

    // A double click on the error line selects the failed statement.
    wxStyledTextEvent click(wxEVT_STC_DOUBLECLICK, window->OutputPane()->GetControl()->GetId());
    click.SetEventObject(window->OutputPane()->GetControl());
    click.SetPosition(static_cast<int>(OutputOf(*window).find("no such table")));
    script.GotoPos(0);
    window->OutputPane()->GetControl()->ProcessWindowEvent(click);
    EXPECT_EQ(SelectionOf(window->ScriptPane()), std::pair(failed, failed + static_cast<int>(failing.size())));

    // Resting the pointer on the failed mark shows the message.
    wxStyledTextEvent dwell(wxEVT_STC_DWELLSTART, script.GetId());
    dwell.SetEventObject(&script);
    dwell.SetX(script.GetMarginWidth(0) + 2);
    dwell.SetY((4 - script.GetFirstVisibleLine()) * script.TextHeight(0) + 2);
    script.ProcessWindowEvent(dwell);
    EXPECT_TRUE(script.CallTipActive());
    script.CallTipCancel();

    // Typing into the failed statement takes its mark away; the others stay.
    script.InsertText(failed + 7, "x");
    EXPECT_TRUE(gui_env::WaitUntil([&] { return marks() == "11010"; })) << marks();
    EXPECT_FALSE(window->IsCommandEnabled(ID_NEXT_ERROR));
    window->OutputPane()->GetControl()->ProcessWindowEvent(click);
    EXPECT_EQ(StatusOf(*window), "The statement is no longer in the script");
}

// After a run the squiggle covers the token that the driver's message
// names, and F8 walks the failures (Shift+F8 back), also on PostgreSQL.
TEST_F(WindowTest, TheSpotOfASyntaxErrorIsUnderlinedAndF8WalksTheFailures) {
    const struct {
        bool postgres;
        std::string script, token;
        std::vector<std::pair<int, std::string>> walk;  // a command, and the failed table it goes to
    } cases[] = {
        {false, "select 1;\r\n  selec 2;", "selec", {}},
        {true, "select 1;\r\n/* frm */ select 'frm', * frm t;", "frm", {}},
        {true, kPgScript, "tw_no_such_atw_no_such_b",
         {{ID_NEXT_ERROR, "a"}, {ID_NEXT_ERROR, "b"}, {ID_NEXT_ERROR, "a"}, {ID_PREVIOUS_ERROR, "b"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        if (c.postgres) TARNWELL_REQUIRE_POSTGRES();
        CSecondWindow window(wxSize(700, 500));
        c.postgres ? ConnectPostgres(*window) : Connect(*window, test_env::NewSqliteDsn("Squiggle"));
        RunScript(*window, c.script);
        wxStyledTextCtrl& script = *window->ScriptPane()->GetControl();
        std::string underlined;
        for (int at = 0; at < script.GetTextLength(); ++at)
            if (script.IndicatorValueAt(8, at)) underlined += c.script[static_cast<std::size_t>(at)];
        EXPECT_EQ(underlined, c.token);
        script.GotoPos(0);
        for (const auto& [command, table] : c.walk) {
            window->RunCommand(command);
            EXPECT_EQ(script.GetCurrentPos(), static_cast<int>(c.script.find("select * from tw_no_such_" + table)));
        }
    }
}

}  // namespace
