// Completion, Describe and colouring in the real window: Ctrl+Space after
// "select * from emp" offers the table the catalog loader read after the
// connect, "e." offers the alias's columns, F4 prints the table; the script
// and the transcript are coloured, wide characters still fill their cells,
// and the saved bytes are the typed ones.
#include "app_test_env.h"
#include "caret_text.h"
#include "panes/pane_palette.h"

using namespace app_test;

namespace {

using EditorWindowTest = WindowTest;

// Puts text into the script with the caret at its "|" and presses Ctrl+Space
// until the list offers chosen as its current entry (the catalog is read
// after the connect, on its own thread); then takes it.
bool Complete(CMainFrame& window, const std::string& marked, const std::string& chosen) {
    wxStyledTextCtrl& control = *window.ScriptPane()->GetControl();
    const auto [text, caret] = AtCaret(marked);
    window.ScriptPane()->SetText(std::string_view(text), false);
    control.GotoPos(static_cast<int>(caret));
    const bool offered = gui_env::WaitUntil(
        [&] {
            control.AutoCompCancel();
            wxKeyEvent key(wxEVT_KEY_DOWN);
            key.m_keyCode = WXK_SPACE;
            key.m_controlDown = true;
            key.SetEventObject(&control);
            control.ProcessWindowEvent(key);
            return control.AutoCompActive() && FromUiString(control.AutoCompGetCurrentText()) == chosen;
        },
        30000);
    if (offered) control.AutoCompComplete();
    return offered;
}

TEST_F(EditorWindowTest, CompletionOffersTablesAndAliasColumnsAndF4Describes) {
    CSecondWindow window(wxSize(700, 500));
    ConnectWindow(*window, test_env::NewSqliteDsn("EditorWindow"), "", "");
    RunScript(*window, "create table employees (id integer primary key, Surname text)");  // the catalog is read again

    ASSERT_TRUE(Complete(*window, "select * from emp|", "employees"));
    EXPECT_EQ(window->ScriptPane()->GetText(), "select * from employees");
    ASSERT_TRUE(Complete(*window, "select e.s| from employees e", "Surname"));
    EXPECT_EQ(window->ScriptPane()->GetText(), "select e.Surname from employees e");

    window->ScriptPane()->SetText(std::string_view("select * from employees"), false);
    window->ScriptPane()->GetControl()->GotoPos(17);
    window->RunCommand(ID_CLEAR_OUTPUT);
    PressKey(*window, WXK_F4);
    ASSERT_TRUE(gui_env::WaitUntil([&] { return OutputOf(*window).find("row(s) fetched") != std::string::npos; }, 30000));
    const std::string output = OutputOf(*window);
    EXPECT_EQ(output.rfind("Table employees\r\n\r\nColumn  Type", 0), 0u) << output;
    EXPECT_NE(output.find("\r\nSurname "), std::string::npos) << output;
}

// The colour the control draws the byte at position in.
wxColour ColourAt(wxStyledTextCtrl& control, std::string_view text, std::string_view what) {
    const std::size_t at = text.find(what);
    EXPECT_NE(at, std::string_view::npos) << what;
    return control.StyleGetForeground(control.GetStyleAt(static_cast<int>(at)));
}

wxColour Colour(Rgb rgb) { return wxColour(rgb.red, rgb.green, rgb.blue); }

TEST_F(EditorWindowTest, ScriptAndTranscriptAreColouredWithoutChangingABytes) {
    CSecondWindow window(wxSize(700, 500));
    ConnectWindow(*window, test_env::NewSqliteDsn("Colours"), "", "");
    const PanePalette palette = PanePalette::For(false);
    wxStyledTextCtrl& script = *window->ScriptPane()->GetControl();
    const std::string text = "-- it's\r\nselect 'Zo\xC3\xAB \xE6\x9D\xB1\xE4\xBA\xAC' as x, 42 /* n */ from t;\r\n";
    const int cell = script.TextWidth(wxSTC_STYLE_DEFAULT, "0");
    for (const CommentSyntax& syntax : {CommentSyntax{}, CommentSyntax{"-", "/*", "*/", false}}) {
        SCOPED_TRACE(syntax.singleLine);
        window->ScriptPane()->SetCommentSyntax(syntax);
        window->ScriptPane()->SetText(std::string_view(text), false);
        script.Colourise(0, -1);
        gui_env::Pump();
        for (const auto& [what, colour] : {std::pair{"-- it's", palette.comment}, {"select", palette.keyword},
                                           {"'Zo", palette.string}, {"\xC3\xAB", palette.string},
                                           {"\xE6\x9D\xB1", palette.string}, {"as", palette.keyword},
                                           {"42", palette.number}, {"/* n */", palette.comment}, {";", palette.operatorSign}})
            EXPECT_EQ(ColourAt(script, text, what), Colour(colour)) << what;
        // "as" stands 18 cells into its line, the two CJK characters two
        // cells each (the blank before it makes up what they lack).
        const int line = script.PositionFromLine(1);
        EXPECT_EQ(script.PointFromPosition(static_cast<int>(text.find(" as") + 1)).x - script.PointFromPosition(line).x,
                  18 * cell);
    }

    // The bytes saved are the bytes typed.
    const std::string path = test_env::TempPath("coloured.sql");
    ASSERT_TRUE(window->Script()->OnSaveDocument(path));
    EXPECT_EQ(ReadFile(path), text);

    // The transcript's echo and error lines.
    RunScript(*window, "select 1 as n;\r\nselect * from nosuch;");
    wxStyledTextCtrl& output = *window->OutputPane()->GetControl();
    output.Colourise(0, -1);
    const std::string transcript = OutputOf(*window);
    EXPECT_EQ(ColourAt(output, transcript, "SQL> select 1"), Colour(palette.echo));
    EXPECT_EQ(ColourAt(output, transcript, "Error: "), Colour(palette.error));
    EXPECT_EQ(ColourAt(output, transcript, "1 row(s)"), Colour(palette.text));
}

}  // namespace
