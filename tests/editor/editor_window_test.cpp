// Completion and Describe in the real window: Ctrl+Space after
// "select * from emp" offers the table the catalog loader read after the
// connect, "e." offers the alias's columns, F4 prints the table.
#include "app_test_env.h"
#include "second_window.h"

#include "app/command_ids.h"
#include "app/main_frame.h"
#include "app/ui_text.h"
#include "panes/output_pane.h"
#include "panes/script_pane.h"
#include "support/gui_env.h"
#include "support/test_env.h"

#include <wx/stc/stc.h>

using namespace app_test;

namespace {

class EditorWindowTest : public WindowTest {};

// Ctrl+Space as the script pane's control receives it.
void PressCtrlSpace(wxStyledTextCtrl& control) {
    wxKeyEvent key(wxEVT_KEY_DOWN);
    key.m_keyCode = WXK_SPACE;
    key.m_controlDown = true;
    key.SetEventObject(&control);
    control.ProcessWindowEvent(key);
}

// Puts text into the script with the caret at its "|" and asks for the
// list until it offers chosen as its current entry (the catalog is read
// after the connect, on its own thread); then takes it.
bool Complete(CMainFrame& window, std::string text, const std::string& chosen) {
    wxStyledTextCtrl& control = *window.ScriptPane()->GetControl();
    const std::size_t caret = text.find('|');
    text.erase(caret, 1);
    window.ScriptPane()->SetText(std::string_view(text), false);
    control.GotoPos(static_cast<int>(caret));
    const bool offered = gui_env::WaitUntil(
        [&] {
            control.AutoCompCancel();
            PressCtrlSpace(control);
            return control.AutoCompActive() && FromUiString(control.AutoCompGetCurrentText()) == chosen;
        },
        30000);
    if (offered) control.AutoCompComplete();
    return offered;
}

TEST_F(EditorWindowTest, CompletionOffersTablesAndAliasColumnsAndF4Describes) {
    CSecondWindow window(wxSize(700, 500));
    ConnectWindow(*window, test_env::NewSqliteDsn("EditorWindow"), "", "");
    window->ScriptPane()->SetText(std::string_view("create table employees (id integer primary key, Surname text)"), false);
    Execute(*window);   // a CREATE: the catalog is read again

    ASSERT_TRUE(Complete(*window, "select * from emp|", "employees"));
    EXPECT_EQ(window->ScriptPane()->GetText(), "select * from employees");
    ASSERT_TRUE(Complete(*window, "select e.s| from employees e", "Surname"));
    EXPECT_EQ(window->ScriptPane()->GetText(), "select e.Surname from employees e");

    window->ScriptPane()->SetText(std::string_view("select * from employees"), false);
    window->ScriptPane()->GetControl()->GotoPos(17);
    window->RunCommand(ID_CLEAR_OUTPUT);
    PressKey(*window, WXK_F4);
    ASSERT_TRUE(gui_env::WaitUntil([&] { return window->OutputPane()->GetText().find("row(s) fetched") != std::string::npos; }, 30000));
    const std::string output = window->OutputPane()->GetText();
    EXPECT_EQ(output.rfind("Table employees\r\n\r\nColumn  Type", 0), 0u) << output;
    EXPECT_NE(output.find("\r\nSurname "), std::string::npos) << output;
}

}  // namespace
