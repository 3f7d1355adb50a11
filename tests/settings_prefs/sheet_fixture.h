#pragma once

#include "settings/pref_dlg.h"
#include "settings/settings_record.h"
#include "support/default_settings.h"

#include <gtest/gtest.h>
#include <wx/string.h>

#include <functional>
#include <string>
#include <vector>

class wxCheckBox;
class wxListBox;
class wxTextCtrl;
class wxWindow;

// Runs the Options command as the frame does (CPrefDlg::Run), on a settings
// record of its own. The sheet is shown without a modal loop while a test's
// script acts on it; what the script returns is how the sheet ends
// (Ok() gives wxID_OK only when the sheet agreed to close). Message boxes
// are recorded and answered with OK.
class SheetTest : public ::testing::Test {
public:
    using Script = std::function<int(CPrefDlg& sheet)>;

protected:
    struct Message {
        std::string text;
        std::string caption;
        long style = 0;
    };
    SheetTest();
    ~SheetTest() override;

    // CPrefDlg::Run with script acting inside the sheet; returns Run's answer.
    bool RunSheet(const Script& script);

    // What pressing OK does: wxID_OK when the sheet closes, else (the sheet
    // stays open) the script goes on and here ends with Cancel.
    static int Ok(CPrefDlg& sheet);

    // Acting as the user does.
    static void Type(wxTextCtrl* edit, const std::string& text);
    static void Click(wxWindow* button);
    static void Toggle(wxCheckBox* box);
    static void Choose(wxListBox* list, int index);
    static bool ShowPage(CPrefDlg& sheet, int page);  // false when the sheet refused to leave the page

    template <typename Control = wxWindow>
    static Control* Find(CPrefDlg& sheet, int id) {
        return dynamic_cast<Control*>(sheet.FindWindow(id));
    }

    // Whether edit has the keyboard focus with all of its text selected.
    static ::testing::AssertionResult FocusedAndSelected(wxTextCtrl* edit);

    CSettingsRecord settings = DefaultSettings();
    std::vector<Message> messages;
    int applied = 0;  // calls of the pane font's application
};
