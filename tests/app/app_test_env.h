#pragma once

#include <functional>
#include <string>
#include <vector>

class CMainFrame;
class CTarnwellApp;
class wxDialog;
class wxFileDialog;

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
// afterwards is cancelled, and dialogs that come later are refused. False
// when no dialog came up.
bool WithModalDialog(const std::function<void(wxDialog&)>& drive, const std::function<void()>& open);

// The titles of the dialogs refused since the last call: every modal dialog
// that a test does not drive is cancelled unseen.
std::vector<std::string> TakeRefusedDialogs();

// Runs open, which shows a file dialog, lets look see the dialog as it came
// up, and chooses path in it (OK).
bool ChooseFile(const std::string& path, const std::function<void()>& open,
                const std::function<void(wxFileDialog&)>& look = {});

// A key as it reaches window before any pane sees it (wxMOD_* modifiers).
void PressKey(CMainFrame& window, int keyCode, int modifiers = 0);

// Writes a file in the test's temporary folder and returns its full path.
std::string WriteTempFile(const std::string& name, const std::string& bytes);
// A file's bytes ("" when it cannot be read).
std::string ReadFile(const std::string& path);

// The script pane's and the output pane's text.
std::string ScriptText();
std::string OutputText();
// Replaces the script with text and marks it unmodified, so no later New or
// Open asks to save it.
void SetScript(const std::string& text);

}  // namespace app_test
