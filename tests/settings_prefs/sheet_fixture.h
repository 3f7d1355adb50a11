#pragma once

#include "settings/pref_dlg.h"
#include "settings/settings_record.h"
#include "support/default_settings.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

class wxListBox;

// Runs the Options command as the frame does (CPrefDlg::Run) on a settings
// record of its own. The sheet is shown without a modal loop while a test's
// script acts on it; what the script returns is how the sheet ends. Message
// boxes are recorded and answered with OK.
class SheetTest : public ::testing::Test {
public:
    using Script = std::function<int(CPrefDlg& sheet)>;

    // Pressing OK: wxID_OK when the sheet agrees to close, else wxID_CANCEL.
    static int Ok(CPrefDlg& sheet);

    // Acting as the user does on the control with the id.
    static void Type(CPrefDlg& sheet, int id, const std::string& text);
    static void Toggle(CPrefDlg& sheet, int id);
    static void Click(CPrefDlg& sheet, int id);
    static void Choose(wxListBox* list, int index);
    static bool ShowPage(CPrefDlg& sheet, int page);  // false when the sheet stayed on its page

    static std::string Text(CPrefDlg& sheet, int id);
    static bool Checked(CPrefDlg& sheet, int id);
    static bool Enabled(CPrefDlg& sheet, int id);
    // Whether the edit has the keyboard focus with all of its text selected.
    static ::testing::AssertionResult FocusedAndSelected(CPrefDlg& sheet, int id);

protected:
    struct Message {
        std::string text, caption;
        long style = 0;
    };
    SheetTest();
    ~SheetTest() override;

    // CPrefDlg::Run with script acting inside the sheet; returns Run's answer.
    bool RunSheet(const Script& script);

    CSettingsRecord settings = DefaultSettings();
    std::vector<Message> messages;
    int applied = 0;  // calls of the pane font's application
};
