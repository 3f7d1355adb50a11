#pragma once

// What the window tests use nearly everywhere comes with this header.
#include "app/command_ids.h"
#include "app/main_frame.h"
#include "app/ui_text.h"
#include "common/message_box.h"
#include "panes/output_pane.h"
#include "panes/script_pane.h"
#include "script/script.h"
#include "second_window.h"
#include "support/gui_env.h"
#include "support/test_env.h"

#include <gtest/gtest.h>
#include <wx/stc/stc.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

class CTarnwellApp;
class wxDialog;

// The worksheet application, started once for the GUI test program as the
// program starts (without the Connect dialog), on the display that Xvfb
// provides. Message boxes are recorded instead of shown.
namespace app_test {

CTarnwellApp& App();
CMainFrame& Frame();

struct MessageBox {
    std::string text;
    long style = 0;
};
// The message boxes shown since the last call.
std::vector<MessageBox> TakeMessageBoxes();
// The one message box shown since the last call, captioned "Tarnwell" (a
// failure of the test, and an empty box, when there was not exactly one);
// its style must hold the flags of style (an icon, buttons).
MessageBox TakeOneMessageBox(long style = 0);
// What the recorded questions (Yes/No and Yes/No/Cancel boxes) answer from
// now on; 0, as at the start of every window test: No, or Cancel where the
// box offers it.
void AnswerYesNo(int answer);

// Runs open, which shows a modal dialog, and drives that dialog with drive
// from inside its modal loop. drive must end the dialog; a dialog still open
// afterwards is cancelled, and dialogs that come later are refused. False
// when no dialog came up.
bool WithModalDialog(const std::function<void(wxDialog&)>& drive, const std::function<void()>& open);

// The titles of the dialogs refused since the last call: every modal dialog
// that a test does not drive is cancelled unseen.
std::vector<std::string> TakeRefusedDialogs();

// Runs open, which shows a file dialog, and chooses path in it (OK).
// Returns what the dialog came up with, as "file name|filters|index of the
// chosen filter" ("" when no file dialog came up).
std::string ChooseFile(const std::string& path, const std::function<void()>& open);

// A key as it reaches window before any pane sees it (wxMOD_* modifiers).
void PressKey(CMainFrame& window, int keyCode, int modifiers = 0);

// Runs Change Connection (Ctrl+D) on window, types the three values into the
// Connect dialog (which keeps them for connecting again) and presses button.
// Returns what the dialog showed as it came up, as "data source/user
// name/password"; the password field never shows what is typed.
std::string ConnectWindow(CMainFrame& window, const std::string& dataSource, const std::string& userName = "",
                          const std::string& password = "", int button = wxID_OK);
// Connects window without the dialog: to dsn without user name, or to the
// test PostgreSQL server.
void Connect(CMainFrame& window, const std::string& dsn);
void ConnectPostgres(CMainFrame& window, const std::string& dsn = test_env::PgDsn());

// Handles events until window's run has ended (and its run object is gone);
// false (and a failure) when it has not after a minute.
bool FinishRun(CMainFrame& window);
// Puts text into the script pane (left modified) and runs it as Ctrl+Enter
// does, until the run has ended.
void RunScript(CMainFrame& window, const std::string& text);

// Writes a file in the test's temporary folder and returns its full path.
std::string WriteTempFile(const std::string& name, const std::string& bytes);
using test_env::ReadFile;

// The application window's script text; SetScript replaces it and marks it
// unmodified, so no later New or Open asks to save it.
std::string ScriptText();
void SetScript(const std::string& text);

// A window's title, its output, a field of its status bar, and a pane's
// selection (start, end).
std::string TitleOf(CMainFrame& window);
std::string OutputOf(CMainFrame& window);
std::string StatusOf(CMainFrame& window, int field = 0);
std::pair<int, int> SelectionOf(CPane* pane);

// Starts with no message box or refused dialog left over; a dialog that the
// test did not drive fails it.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

}  // namespace app_test
