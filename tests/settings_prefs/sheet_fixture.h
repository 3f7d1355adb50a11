#pragma once

#include "common/message_box.h"
#include "settings/pref_dlg.h"
#include "settings/settings_record.h"
#include "support/default_settings.h"
#include "support/gui_env.h"

#include <gtest/gtest.h>
#include <wx/bookctrl.h>
#include <wx/checkbox.h>
#include <wx/listbox.h>
#include <wx/modalhook.h>
#include <wx/textctrl.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

// Runs the Options command as the frame does (CPrefDlg::Run) on a settings
// record of its own. The sheet is shown without a modal loop while a test's
// script acts on it as the user does; what the script returns is how the
// sheet ends. Message boxes are recorded and answered with OK.
class SheetTest : public ::testing::Test {
public:
    using Script = std::function<int(CPrefDlg& sheet)>;

    // Pressing OK: wxID_OK when the sheet agrees to close, else wxID_CANCEL.
    static int Ok(CPrefDlg& sheet) { return sheet.ConfirmOk() ? wxID_OK : wxID_CANCEL; }

    static void Type(CPrefDlg& sheet, int id, const std::string& text) {
        auto& edit = Get<wxTextCtrl>(sheet, id);
        edit.SetFocus();
        edit.SetValue(wxString::FromUTF8(text));
        gui_env::Pump();
    }
    static void Toggle(CPrefDlg& sheet, int id) {
        auto& box = Get<wxCheckBox>(sheet, id);
        box.SetValue(!box.GetValue());
        gui_env::Notify(box, wxEVT_CHECKBOX, box.GetValue() ? 1 : 0);
    }
    static void Click(CPrefDlg& sheet, int id) {
        gui_env::Click(sheet.FindWindow(id));
        gui_env::Pump();
    }
    // False when the sheet stayed on its page.
    static bool ShowPage(CPrefDlg& sheet, int page) {
        sheet.GetBookCtrl()->SetSelection(page);
        gui_env::Pump();
        return sheet.GetBookCtrl()->GetSelection() == page;
    }

    static std::string Text(CPrefDlg& sheet, int id) { return Get<wxTextCtrl>(sheet, id).GetValue().utf8_string(); }
    static bool Checked(CPrefDlg& sheet, int id) { return Get<wxCheckBox>(sheet, id).GetValue(); }
    static bool Enabled(CPrefDlg& sheet, int id) { return Get<wxWindow>(sheet, id).IsEnabled(); }

    // Whether the edit has the keyboard focus with all of its text selected.
    static ::testing::AssertionResult FocusedAndSelected(CPrefDlg& sheet, int id) {
        auto& edit = Get<wxTextCtrl>(sheet, id);
        long from = 0, to = 0;
        edit.GetSelection(&from, &to);
        if (const long end = edit.GetLastPosition(); from != 0 || to != end)
            return ::testing::AssertionFailure() << "selected " << from << ".." << to << " of " << end;
        if (!gui_env::WaitUntil([&] { return wxWindow::FindFocus() == &edit; }))
            return ::testing::AssertionFailure() << "the focus is elsewhere";
        return ::testing::AssertionSuccess();
    }

protected:
    using Message = std::tuple<std::string, std::string, long>;  // text, caption, style
    // The warning a refused field gets.
    static Message Warning(const std::string& text) { return {text, "Tarnwell", wxOK | wxICON_WARNING}; }

    SheetTest() {
        SetMessageBoxHandler([this](const wxString& text, const wxString& caption, long style, wxWindow*) {
            messages.emplace_back(text.utf8_string(), caption.utf8_string(), style);
            return wxOK;
        });
    }
    ~SheetTest() override { SetMessageBoxHandler({}); }

    // CPrefDlg::Run with script acting inside the sheet; returns Run's answer.
    bool RunSheet(const Script& script) {
        struct Hook : wxModalDialogHook {
            explicit Hook(const Script& script) : script(script) { Register(); }
            int Enter(wxDialog* dialog) override {
                auto* sheet = dynamic_cast<CPrefDlg*>(dialog);
                if (sheet == nullptr) {
                    ADD_FAILURE() << "an unexpected modal dialog";
                    return wxID_CANCEL;
                }
                sheet->Show();
                gui_env::Pump();
                const int result = script(*sheet);
                sheet->Hide();
                return result;
            }
            void Exit(wxDialog*) override {}
            const Script& script;
        } hook(script);
        return CPrefDlg::Run(nullptr, settings, [this] { ++applied; });
    }

    CSettingsRecord settings = DefaultSettings();
    std::vector<Message> messages;
    int applied = 0;  // calls of the pane font's application

private:
    template <typename Control>
    static Control& Get(CPrefDlg& sheet, int id) {
        auto* control = dynamic_cast<Control*>(sheet.FindWindow(id));
        if (control == nullptr) throw std::runtime_error("no control " + std::to_string(id));
        return *control;
    }
};
