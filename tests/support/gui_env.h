#pragma once

#include <wx/modalhook.h>

#include <functional>
#include <string>
#include <vector>

class wxApp;
class wxWindow;

// Window tests: a GoogleTest environment (registered by linking gui_env.cpp)
// starts a wxWidgets application without a main loop before the first test
// and ends it after the last. It needs a display; the test harness runs GUI
// tests under Xvfb (xvfb-run -a). Failed wxWidgets assertions fail the test
// that is running, and log messages go to standard error, never to a dialog.
namespace gui_env {

// The application object the environment creates (a plain wxApp unless
// set). Call during static initialisation of the test program, before
// RUN_ALL_TESTS.
void SetAppFactory(std::function<wxApp*()> factory);

// Handles the events that are waiting (window system, posted and idle).
void Pump();

// Pumps, lets the idle handlers delete the windows that were destroyed, and
// pumps what that brought about.
void Settle();

// Pumps until done() holds or timeoutMs have passed; returns done().
bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 5000);

// Sends button the click event a mouse click would; a missing button (null)
// fails the test.
void Click(wxWindow* button);

// Answers every modal dialog (message boxes included) without showing it
// while it is alive, and records what the message boxes said.
class ModalCapture : public wxModalDialogHook {
public:
    struct Message {
        std::string caption;
        std::string text;
        long style = 0;
    };

    // answer: what ShowModal returns (wxID_OK, wxID_YES, wxID_NO, wxID_CANCEL...).
    explicit ModalCapture(int answer = wxID_OK);

    void SetAnswer(int answer) { m_nAnswer = answer; }
    // Message boxes in the order they came up.
    const std::vector<Message>& Messages() const { return m_messages; }
    // Modal dialogs of any kind, message boxes included.
    int DialogCount() const { return m_nDialogs; }

protected:
    int Enter(wxDialog* dialog) override;

private:
    int m_nAnswer;
    int m_nDialogs = 0;
    std::vector<Message> m_messages;
};

}  // namespace gui_env
