#include "sheet_fixture.h"

#include "common/message_box.h"
#include "support/gui_env.h"

#include <wx/bookctrl.h>
#include <wx/checkbox.h>
#include <wx/listbox.h>
#include <wx/modalhook.h>
#include <wx/textctrl.h>

namespace {

// Lets the script act on the sheet when Run shows it.
class SheetHook : public wxModalDialogHook {
public:
    explicit SheetHook(const SheetTest::Script& script) : m_script(script) { Register(); }
    int Enter(wxDialog* dialog) override {
        auto* sheet = dynamic_cast<CPrefDlg*>(dialog);
        if (sheet == nullptr) {
            ADD_FAILURE() << "an unexpected modal dialog: " << dialog->GetTitle().utf8_string();
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

void SheetTest::Type(wxTextCtrl* edit, const std::string& text) {
    ASSERT_NE(edit, nullptr);
    edit->SetFocus();
    edit->SetValue(wxString::FromUTF8(text));
    gui_env::Pump();
}

void SheetTest::Click(wxWindow* button) {
    gui_env::Click(button);
    gui_env::Pump();
}

void SheetTest::Toggle(wxCheckBox* box) {
    ASSERT_NE(box, nullptr);
    box->SetValue(!box->GetValue());
    wxCommandEvent event(wxEVT_CHECKBOX, box->GetId());
    event.SetEventObject(box);
    event.SetInt(box->GetValue() ? 1 : 0);
    box->ProcessWindowEvent(event);
    gui_env::Pump();
}

void SheetTest::Choose(wxListBox* list, int index) {
    ASSERT_NE(list, nullptr);
    list->SetSelection(index);
    wxCommandEvent event(wxEVT_LISTBOX, list->GetId());
    event.SetEventObject(list);
    event.SetInt(index);
    list->ProcessWindowEvent(event);
    gui_env::Pump();
}

bool SheetTest::ShowPage(CPrefDlg& sheet, int page) {
    sheet.GetBookCtrl()->SetSelection(page);
    gui_env::Pump();
    return sheet.GetBookCtrl()->GetSelection() == page;
}

::testing::AssertionResult SheetTest::FocusedAndSelected(wxTextCtrl* edit) {
    if (edit == nullptr) return ::testing::AssertionFailure() << "no such edit";
    long from = 0;
    long to = 0;
    edit->GetSelection(&from, &to);
    if (from != 0 || to != edit->GetLastPosition()) {
        return ::testing::AssertionFailure() << "selection " << from << ".." << to << " of "
                                             << edit->GetLastPosition();
    }
    gui_env::Pump();
    const wxWindow* focus = wxWindow::FindFocus();
    if (focus != edit) {
        return ::testing::AssertionFailure() << "the focus is on window " << (focus ? focus->GetId() : 0)
                                             << ", not on " << edit->GetId();
    }
    return ::testing::AssertionSuccess();
}
