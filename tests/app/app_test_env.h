#pragma once

#include <functional>
#include <string>
#include <vector>

class CMainFrame;
class CTarnwellApp;
class wxDialog;

// The worksheet application, started once for the GUI test program the way
// the program starts (without the Connect dialog), on the display that Xvfb
// provides. Message boxes are recorded instead of shown.
namespace app_test {

CTarnwellApp& App();
CMainFrame& Frame();

struct MessageBox {
    std::string text;
    std::string caption;
    long style = 0;
};
// The message boxes shown since the last call.
std::vector<MessageBox> TakeMessageBoxes();

// Runs open, which shows a modal dialog, and drives that dialog with drive
// from inside its modal loop. drive must end the dialog; a dialog still open
// afterwards is cancelled. False when no dialog came up.
bool WithModalDialog(const std::function<void(wxDialog&)>& drive, const std::function<void()>& open);

// Runs open, which shows a modal dialog, and answers that dialog with the
// id answer returns, without showing it. False when no dialog came.
bool AnswerDialog(const std::function<int(wxDialog&)>& answer, const std::function<void()>& open);

// The titles of the dialogs refused since the last call: every modal dialog
// that a test neither drives nor answers is cancelled unseen.
std::vector<std::string> TakeRefusedDialogs();

// Runs open, which shows a file dialog, and chooses path in it (OK).
bool ChooseFile(const std::string& path, const std::function<void()>& open);

// Writes a file in the test's temporary folder and returns its full path.
std::string WriteTempFile(const std::string& name, const std::string& bytes);

// The script pane's and the output pane's text.
std::string ScriptText();
std::string OutputText();
// Replaces the script with text and marks it unmodified, so no later New or
// Open asks to save it.
void SetScript(const std::string& text);

}  // namespace app_test
