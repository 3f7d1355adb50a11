#include "sheet_fixture.h"

#include "common/message_box.h"
#include "support/gui_env.h"

#include <wx/bookctrl.h>
#include <wx/checkbox.h>
#include <wx/listbox.h>
#include <wx/modalhook.h>
#include <wx/textctrl.h>

#include <stdexcept>
#include <string>

namespace {

// Lets the script act on the sheet when Run shows it.
class SheetHook : public wxModalDialogHook {
public:
    explicit SheetHook(const SheetTest::Script& script) : m_script(script) { Register(); }
    int Enter(wxDialog* dialog) override {
        auto* sheet = dynamic_cast<CPrefDlg*>(dialog);
        if (sheet == nullptr) {
            ADD_FAILURE() << "an unexpected modal dialog";
            return wxID_CANCEL;
        }
        sheet->Show();
        gui_env::Pump();
        const int result = m_script(*sheet);
        sheet->Hide();
        return result;
    }
    void Exit(wxDialog*) override {}

private:
    const SheetTest::Script& m_script;
};

template <typename Control>
Control& Get(CPrefDlg& sheet, int id) {
    auto* control = dynamic_cast<Control*>(sheet.FindWindow(id));
    if (control == nullptr) throw std::runtime_error("no control " + std::to_string(id));
    return *control;
}

// Sends the notification a user's action would.
void Notify(wxWindow& control, wxEventType type, int value) {
    wxCommandEvent event(type, control.GetId());
    event.SetEventObject(&control);
    event.SetInt(value);
    control.ProcessWindowEvent(event);
    gui_env::Pump();
}

}  // namespace

SheetTest::SheetTest() {
    SetMessageBoxHandler([this](const wxString& text, const wxString& caption, long style, wxWindow*) {
        messages.push_back(Message{text.utf8_string(), caption.utf8_string(), style});
        return wxOK;
    });
}

SheetTest::~SheetTest() { SetMessageBoxHandler({}); }

bool SheetTest::RunSheet(const Script& script) {
    SheetHook hook(script);
    return CPrefDlg::Run(nullptr, settings, [this] { ++applied; });
}

int SheetTest::Ok(CPrefDlg& sheet) { return sheet.ConfirmOk() ? wxID_OK : wxID_CANCEL; }

void SheetTest::Type(CPrefDlg& sheet, int id, const std::string& text) {
    auto& edit = Get<wxTextCtrl>(sheet, id);
    edit.SetFocus();
    edit.SetValue(wxString::FromUTF8(text));
    gui_env::Pump();
}

void SheetTest::Toggle(CPrefDlg& sheet, int id) {
    auto& box = Get<wxCheckBox>(sheet, id);
    box.SetValue(!box.GetValue());
    Notify(box, wxEVT_CHECKBOX, box.GetValue() ? 1 : 0);
}

void SheetTest::Click(CPrefDlg& sheet, int id) {
    gui_env::Click(sheet.FindWindow(id));
    gui_env::Pump();
}

void SheetTest::Choose(wxListBox* list, int index) {
    list->SetSelection(index);
    Notify(*list, wxEVT_LISTBOX, index);
}

bool SheetTest::ShowPage(CPrefDlg& sheet, int page) {
    sheet.GetBookCtrl()->SetSelection(page);
    gui_env::Pump();
    return sheet.GetBookCtrl()->GetSelection() == page;
}

std::string SheetTest::Text(CPrefDlg& sheet, int id) { return Get<wxTextCtrl>(sheet, id).GetValue().utf8_string(); }

bool SheetTest::Checked(CPrefDlg& sheet, int id) { return Get<wxCheckBox>(sheet, id).GetValue(); }

bool SheetTest::Enabled(CPrefDlg& sheet, int id) { return Get<wxWindow>(sheet, id).IsEnabled(); }

::testing::AssertionResult SheetTest::FocusedAndSelected(CPrefDlg& sheet, int id) {
    auto& edit = Get<wxTextCtrl>(sheet, id);
    long from = 0;
    long to = 0;
    edit.GetSelection(&from, &to);
    if (from != 0 || to != edit.GetLastPosition())
        return ::testing::AssertionFailure() << "selection " << from << ".." << to << " of " << edit.GetLastPosition();
    gui_env::Pump();
    if (wxWindow::FindFocus() != &edit) return ::testing::AssertionFailure() << "the focus is elsewhere";
    return ::testing::AssertionSuccess();
}
