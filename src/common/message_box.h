#pragma once

#include <wx/string.h>

#include <functional>

class wxWindow;

// Every message box of the worksheet goes through here, captioned "Tarnwell"
// unless a caption is given. Returns the button pressed (wxOK, wxYES, wxNO,
// wxCANCEL), as wxMessageBox does.
int ShowMessageBox(const wxString& text, long style, wxWindow* parent = nullptr,
                   const wxString& caption = wxString());

// A question with three answers whose buttons read labels (Yes, No and
// Cancel in that order, for instance "Recover", "Discard", "Later"). Returns
// wxYES, wxNO or wxCANCEL (also for the close box); a replaced handler sees a
// Yes/No/Cancel box. icon: wxICON_QUESTION, wxICON_WARNING...
struct QuestionLabels {
    wxString yes, no, cancel;
};
int ShowQuestionBox(const wxString& text, const QuestionLabels& labels, long icon, wxWindow* parent = nullptr);

// Replaces how message boxes are shown (tests record them instead; the
// start-up may print them, see CTarnwellApp). An empty handler restores the
// real boxes. Returns the handler that was in place.
using MessageBoxHandler =
    std::function<int(const wxString& text, const wxString& caption, long style, wxWindow* parent)>;
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);
