#pragma once

#include <wx/event.h>
#include <wx/modalhook.h>

#include <functional>
#include <string>
#include <vector>

class CSimpleComboBox;
class wxApp;
class wxListBox;
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

// Sends control the notification a user's action would (value as the
// event's int), then pumps.
void Notify(wxWindow& control, wxEventType type, int value);
// Chooses the entry at index of list as a click does; ChooseEntry the entry
// of a box's list that reads entry (a failure when there is none).
void Choose(wxListBox* list, int index);
void ChooseEntry(CSimpleComboBox* box, const std::string& entry);

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

    // Message boxes in the order they came up.
    const std::vector<Message>& Messages() const { return m_messages; }

protected:
    int Enter(wxDialog* dialog) override;

private:
    int m_nAnswer;
    std::vector<Message> m_messages;
};

}  // namespace gui_env
