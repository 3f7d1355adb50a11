#include "common/message_box.h"

#include "common/app_name.h"
#include "common/mnemonic_labels.h"

#include <wx/msgdlg.h>
#include <wx/generic/msgdlgg.h>

#include <string>
#include <utility>
#include <vector>

namespace {

MessageBoxHandler& Handler() {
    static MessageBoxHandler handler;
    return handler;
}

wxString Label(const std::string& text) { return wxString::FromUTF8(text); }

// The boxes are wxWidgets' own rather than GTK's: GTK's shows no icon and
// stretches its buttons across the box; this one draws the warning, error,
// question or information icon and gives each button its natural width.
using MessageDialog = wxGenericMessageDialog;

int Answer(int id) {
    switch (id) {
        case wxID_YES: return wxYES;
        case wxID_NO: return wxNO;
        case wxID_OK: return wxOK;
        default: return wxCANCEL;
    }
}

// Labels the buttons of dialog (yes, no, cancel: the buttons style asks
// for; yes stands for OK where there is no Yes) so each has a mnemonic that
// Alt presses.
void SetLabels(MessageDialog& dialog, long style, const std::string& yes, const std::string& no,
               const std::string& cancel) {
    const std::vector<std::string> labels = WithMnemonics({yes, no, cancel});
    if (style & wxYES_NO) {
        if (style & wxCANCEL)
            dialog.SetYesNoCancelLabels(Label(labels[0]), Label(labels[1]), Label(labels[2]));
        else
            dialog.SetYesNoLabels(Label(labels[0]), Label(labels[1]));
    } else if (style & wxCANCEL) {
        dialog.SetOKCancelLabels(Label(labels[0]), Label(labels[2]));
    } else {
        dialog.SetOKLabel(Label(labels[0]));
    }
}

}  // namespace

int ShowMessageBox(const wxString& text, long style, wxWindow* parent, const wxString& caption) {
    const wxString title = caption.empty() ? wxString::FromUTF8(kAppName.data(), kAppName.size()) : caption;
    if (const MessageBoxHandler& handler = Handler()) return handler(text, title, style, parent);
    // As wxMessageBox does: an OK button and an icon unless asked otherwise.
    if (!(style & (wxOK | wxYES_NO))) style |= wxOK;
    if (!(style & wxICON_MASK)) style |= (style & wxYES) ? wxICON_QUESTION : wxICON_INFORMATION;
    MessageDialog dialog(parent, text, title, style);
    SetLabels(dialog, style, (style & wxYES_NO) ? "Yes" : "OK", "No", "Cancel");
    return Answer(dialog.ShowModal());
}

int ShowQuestionBox(const wxString& text, const QuestionLabels& labels, long icon, wxWindow* parent) {
    const wxString title = wxString::FromUTF8(kAppName.data(), kAppName.size());
    const long style = wxYES_NO | wxCANCEL | icon;
    if (const MessageBoxHandler& handler = Handler()) return handler(text, title, style, parent);
    MessageDialog dialog(parent, text, title, style);
    SetLabels(dialog, style, labels.yes.utf8_string(), labels.no.utf8_string(), labels.cancel.utf8_string());
    return Answer(dialog.ShowModal());
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) { return std::exchange(Handler(), std::move(handler)); }
