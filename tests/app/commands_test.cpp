// The worksheet's own window driven as the user drives it: find in the
// active pane, Save Output, and the Options sheet with its effect on the
// panes and on the settings file across a restart.
#include "app_test_env.h"
#include "second_window.h"

#include "app/command_ids.h"
#include "app/main_frame.h"
#include "app/pane_font.h"
#include "app/ui_text.h"
#include "panes/output_pane.h"
#include "panes/script_pane.h"
#include "script/script.h"
#include "settings/file_profile_store.h"
#include "settings/font_arithmetic.h"
#include "settings/pref_dlg.h"
#include "settings/pref_page1.h"
#include "settings/pref_page2.h"
#include "settings/simple_combo_box.h"
#include "support/gui_env.h"
#include "support/test_env.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/bookctrl.h>
#include <wx/dcclient.h>
#include <wx/fdrepdlg.h>
#include <wx/filedlg.h>
#include <wx/listbox.h>
#include <wx/stc/stc.h>
#include <wx/textctrl.h>

#include <algorithm>
#include <memory>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/file.h>
#include <unistd.h>
#include <vector>

using namespace app_test;

namespace {

std::pair<int, int> SelectionOf(wxStyledTextCtrl* control) {
    return {control->GetSelectionStart(), control->GetSelectionEnd()};
}

// The find or replace dialogs of window that are still alive.
std::vector<wxFindReplaceDialog*> FindDialogsOf(CMainFrame& window) {
    std::vector<wxFindReplaceDialog*> dialogs;
    for (wxWindow* top : wxTopLevelWindows) {
        auto* dialog = dynamic_cast<wxFindReplaceDialog*>(top);
        if (dialog != nullptr && dialog->GetParent() == &window && !wxTheApp->IsScheduledForDestruction(dialog))
            dialogs.push_back(dialog);
    }
    return dialogs;
}

// Presses a button of a dialog as a click does.
void PressIn(wxDialog& dialog, int id) {
    gui_env::Click(dialog.FindWindow(id));
    gui_env::Settle();
}

class CommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        TakeMessageBoxes();
        TakeRefusedDialogs();
    }
    void TearDown() override {
        EXPECT_EQ(TakeRefusedDialogs(), std::vector<std::string>()) << "a dialog came up unexpectedly";
    }
    CMemoryProfileStore m_store;
};

TEST_F(CommandsTest, FindSearchesTheActivePane) {
    CSecondWindow window(m_store, wxSize(700, 500));
    window->ScriptPane()->SetText("abc in the script", false);
    window->ScriptPane()->SetSelection(0, 0);
    window->OutputPane()->AppendText("SQL> select abc\r\nabc\r\n");
    wxStyledTextCtrl* output = window->OutputPane()->GetControl();
    PressKey(*window, WXK_F6);  // the output pane is active now
    window->OutputPane()->SetSelection(0, 0);

    // F3 before any search opens the find dialog; Replace while it is open
    // brings no second dialog.
    PressKey(*window, WXK_F3);
    ASSERT_EQ(FindDialogsOf(*window).size(), 1u);
    wxFindReplaceDialog& dialog = *FindDialogsOf(*window)[0];
    EXPECT_TRUE(dialog.IsShown());
    PressKey(*window, 'R', wxMOD_CONTROL);
    EXPECT_EQ(FindDialogsOf(*window), std::vector<wxFindReplaceDialog*>{&dialog});
    EXPECT_FALSE(dialog.HasFlag(wxFR_REPLACEDIALOG));

    std::vector<wxTextCtrl*> fields;
    for (wxWindow* child : dialog.GetChildren())
        if (auto* field = dynamic_cast<wxTextCtrl*>(child)) fields.push_back(field);
    ASSERT_FALSE(fields.empty());
    fields[0]->SetValue("abc");
    PressIn(dialog, wxID_FIND);
    EXPECT_EQ(SelectionOf(output), std::pair(12, 15));

    // Closed, F3 goes on with the saved text and says when nothing is left.
    PressIn(dialog, wxID_CANCEL);
    PressKey(*window, WXK_F3);
    EXPECT_EQ(SelectionOf(output), std::pair(17, 20));
    EXPECT_TRUE(TakeMessageBoxes().empty());
    PressKey(*window, WXK_F3);
    const std::vector<MessageBox> boxes = TakeMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Search string not found");
    EXPECT_TRUE(boxes[0].style & wxICON_EXCLAMATION);
    EXPECT_EQ(SelectionOf(window->ScriptPane()->GetControl()), std::pair(0, 0));
}

// Save Output into path; returns the name and filters the dialog came up with.
std::string SaveOutputAs(CMainFrame& window, const std::string& path) {
    std::string shown;
    EXPECT_TRUE(ChooseFile(
        path, [&] { EXPECT_TRUE(window.RunCommand(ID_SAVE_OUTPUT)); },
        [&](wxFileDialog& files) {
            shown = FromUiString(files.GetFilename() + "|" + files.GetWildcard()) + "|" +
                    std::to_string(files.GetFilterIndex());
        }));
    return shown;
}

TEST_F(CommandsTest, SaveOutputWritesThePaneBytesAndAsksBeforeReplacing) {
    const std::string folder = test_env::TempDir() + "/save_output";
    std::filesystem::create_directories(folder);
    CSecondWindow window(m_store, wxSize(700, 500));
    const std::string transcript = "SQL> select '\xC3\xA9'\r\n\r\n'\xC3\xA9'\r\n---\r\n\xC3\xA9\r\n";
    window->OutputPane()->AppendText(transcript);

    // A name typed without extension gets ".txt"; the dialog opens on
    // "output.txt" with the text filter first.
    EXPECT_EQ(SaveOutputAs(*window, folder + "/result"),
              "output.txt|Text Files (*.txt)|*.txt|All Files (*.*)|*.*|0");
    EXPECT_EQ(ReadFile(folder + "/result.txt"), transcript);
    EXPECT_FALSE(std::filesystem::exists(folder + "/result"));

    // The name with ".txt" added is another file than the one the dialog
    // confirmed: replacing it is asked first, and No writes nothing (the
    // dialog comes again, here refused).
    std::ofstream(folder + "/kept.txt", std::ios::binary) << "kept";
    SaveOutputAs(*window, folder + "/kept");
    EXPECT_EQ(TakeRefusedDialogs().size(), 1u);
    std::vector<MessageBox> boxes = TakeMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, folder + "/kept.txt already exists.\nDo you want to replace it?");
    EXPECT_EQ(ReadFile(folder + "/kept.txt"), "kept");

    // A file another program holds locked: a stop message naming the file,
    // which keeps its content.
    const std::string held = folder + "/held.txt";
    std::ofstream(held, std::ios::binary) << "held elsewhere";
    const int other = ::open(held.c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0);
    SaveOutputAs(*window, held);
    ::close(other);
    boxes = TakeMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "A sharing violation occurred while accessing " + held + ".");
    EXPECT_TRUE(boxes[0].style & wxICON_ERROR);
    EXPECT_EQ(ReadFile(held), "held elsewhere");
}

// Chooses entry in one of the font page's boxes as a click does.
void ChooseIn(CSimpleComboBox* box, const std::string& entry) {
    const auto& entries = box->Entries();
    const auto at = std::find(entries.begin(), entries.end(), entry);
    ASSERT_NE(at, entries.end()) << entry;
    const int index = static_cast<int>(at - entries.begin());
    box->List()->SetSelection(index);
    wxCommandEvent changed(wxEVT_LISTBOX, box->List()->GetId());
    changed.SetEventObject(box->List());
    changed.SetInt(index);
    box->List()->ProcessWindowEvent(changed);
    gui_env::Pump();
}

// A face of the system that differs from the panes' current one.
std::string OtherFace(const std::string& current) {
    for (const char* face : {"Nimbus Mono PS", "Noto Mono", "DejaVu Sans Mono", "Liberation Mono", "DejaVu Sans"}) {
        if (face != current && wxFont(wxFontInfo(10).FaceName(face)).GetFaceName() == face) return face;
    }
    return {};
}

TEST_F(CommandsTest, OptionsChangeThePanesAtOnceAndTheSettingsFileAtExit) {
    const std::string folder = test_env::TempDir() + "/options_restart";
    std::filesystem::remove_all(folder);
    const std::string path = folder + "/Tarnwell.conf";
    std::string face;
    int height = 0;
    auto store = std::make_unique<CFileProfileStore>(path);
    {
        CSecondWindow window(*store, wxSize(700, 500));
        face = OtherFace(window->Settings().FontName());
        if (face.empty()) GTEST_SKIP() << "no second fixed face on this system";
        // Text in both panes, a selection in the script and unsaved changes.
        window->OutputPane()->AppendText("SQL> select 1\r\nok\r\n");
        window->ScriptPane()->SetText("select 1\r\nfrom t", false);
        window->ScriptPane()->SetSelection(3, 12);
        window->Script()->Modify(true);

        ASSERT_TRUE(WithModalDialog(
            [&](wxDialog& dialog) {
                auto* sheet = dynamic_cast<CPrefDlg*>(&dialog);
                ASSERT_NE(sheet, nullptr) << "not the Options sheet";
                dynamic_cast<wxTextCtrl*>(sheet->FindWindow(CPrefPage1::IDC_MAXCOLLEN))->SetValue("55");
                sheet->GetBookCtrl()->SetSelection(CPrefDlg::kFontPage);
                gui_env::Pump();
                ChooseIn(sheet->Font().FaceBox(), face);
                ChooseIn(sheet->Font().SizeBox(), "20");
                height = font_arithmetic::HeightForSize(20, sheet->Font().PixelsPerInch());
                gui_env::Click(sheet->FindWindow(wxID_OK));
            },
            [&] { EXPECT_TRUE(window->RunCommand(ID_OPTIONS)); }));
        EXPECT_EQ(window->Settings().MaxColLen, 55);
        EXPECT_EQ(window->Settings().FontName(), face);
        EXPECT_EQ(window->Settings().m_logFont.lfHeight, height);

        // Both panes show the new font at once; the selection and the
        // unsaved state stay.
        wxClientDC dc(&*window);
        const double points = font_arithmetic::TwipsForHeight(height, dc.GetPPI().y) / 20.0;
        for (CPane* pane : {static_cast<CPane*>(window->ScriptPane()), static_cast<CPane*>(window->OutputPane())}) {
            EXPECT_EQ(FromUiString(pane->GetControl()->StyleGetFaceName(wxSTC_STYLE_DEFAULT)), face);
            EXPECT_NEAR(pane->GetControl()->StyleGetSizeFractional(wxSTC_STYLE_DEFAULT),
                        points * wxSTC_FONT_SIZE_MULTIPLIER, 1);
        }
        EXPECT_EQ(SelectionOf(window->ScriptPane()->GetControl()), std::pair(3, 12));
        EXPECT_TRUE(window->Script()->IsModified());

        // Nothing reaches the store before the window goes.
        EXPECT_EQ(store->GetProfileInt("Settings", "MaxColLen", -1), -1);
        window->Script()->Modify(false);
        ASSERT_TRUE(window.Close());
    }
    store.reset();  // the program's exit writes the file
    const std::string file = ReadFile(path);
    EXPECT_NE(file.find("FontName=" + face + "\n"), std::string::npos) << file;

    // Started again on that file: the settings are back and the panes show
    // the font.
    CFileProfileStore storeAgain(path);
    CSecondWindow window(storeAgain, wxSize(700, 500));
    EXPECT_EQ(window->Settings().MaxColLen, 55);
    EXPECT_EQ(window->Settings().m_logFont.lfHeight, height);
    for (CPane* pane : {static_cast<CPane*>(window->ScriptPane()), static_cast<CPane*>(window->OutputPane())})
        EXPECT_EQ(FromUiString(pane->GetControl()->StyleGetFaceName(wxSTC_STYLE_DEFAULT)), face);
}

}  // namespace
