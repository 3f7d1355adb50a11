// The worksheet's own window driven as the user drives it: find in the
// active pane, Save Output, and the Options sheet with its effect on the
// panes and on the settings file across a restart.
#include "app_test_env.h"

#include "settings/file_profile_store.h"
#include "settings/font_arithmetic.h"
#include "settings/pref_dlg.h"
#include "settings/pref_page1.h"
#include "settings/pref_page2.h"
#include "settings/simple_combo_box.h"

#include <wx/app.h>
#include <wx/bookctrl.h>
#include <wx/dcclient.h>
#include <wx/fdrepdlg.h>
#include <wx/textctrl.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

using namespace app_test;

namespace {

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

using CommandsTest = WindowTest;

TEST_F(CommandsTest, FindSearchesTheActivePane) {
    CSecondWindow window(wxSize(700, 500));
    window->ScriptPane()->SetText("abc in the script", false);
    window->ScriptPane()->SetSelection(0, 0);
    window->OutputPane()->AppendText("SQL> select abc\r\nabc\r\n");
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

    wxTextCtrl* findWhat = nullptr;  // the dialog's first field
    for (wxWindow* child : dialog.GetChildren())
        if (findWhat == nullptr) findWhat = dynamic_cast<wxTextCtrl*>(child);
    ASSERT_NE(findWhat, nullptr);
    findWhat->SetValue("abc");
    gui_env::Click(dialog.FindWindow(wxID_FIND));
    EXPECT_EQ(SelectionOf(window->OutputPane()), std::pair(12, 15));

    // Closed, F3 goes on with the saved text and says when nothing is left.
    gui_env::Click(dialog.FindWindow(wxID_CANCEL));
    gui_env::Settle();
    PressKey(*window, WXK_F3);
    EXPECT_EQ(SelectionOf(window->OutputPane()), std::pair(17, 20));
    EXPECT_TRUE(TakeMessageBoxes().empty());
    PressKey(*window, WXK_F3);
    EXPECT_EQ(TakeOneMessageBox(wxICON_EXCLAMATION).text, "Search string not found");
    EXPECT_EQ(SelectionOf(window->ScriptPane()), std::pair(0, 0));
}

TEST_F(CommandsTest, SaveOutputWritesThePaneBytesAndAsksBeforeReplacing) {
    const std::string folder = test_env::TempDir() + "/save_output";
    std::filesystem::create_directories(folder);
    CSecondWindow window(wxSize(700, 500));
    const std::string transcript = "SQL> select '\xC3\xA9'\r\n\r\n'\xC3\xA9'\r\n---\r\n\xC3\xA9\r\n";
    window->OutputPane()->AppendText(transcript);
    const auto saveOutput = [&] { EXPECT_TRUE(window->RunCommand(ID_SAVE_OUTPUT)); };

    // A name typed without extension gets ".txt"; the dialog opens on
    // "output.txt" with the text filter first.
    EXPECT_EQ(ChooseFile(folder + "/result", saveOutput), "output.txt|Text Files (*.txt)|*.txt|All Files (*.*)|*.*|0");
    EXPECT_EQ(ReadFile(folder + "/result.txt"), transcript);
    EXPECT_FALSE(std::filesystem::exists(folder + "/result"));

    // The name with ".txt" added is another file than the one the dialog
    // confirmed: replacing it is asked first, and No writes nothing (the
    // dialog comes again, here refused).
    WriteTempFile("save_output/kept.txt", "kept");
    EXPECT_NE(ChooseFile(folder + "/kept", saveOutput), "");
    EXPECT_EQ(TakeRefusedDialogs().size(), 1u);
    EXPECT_EQ(TakeOneMessageBox().text, folder + "/kept.txt already exists.\nDo you want to replace it?");
    EXPECT_EQ(ReadFile(folder + "/kept.txt"), "kept");

    // A file another program holds locked: a stop message, and the file
    // keeps its content.
    const std::string held = WriteTempFile("save_output/held.txt", "held elsewhere");
    const int other = ::open(held.c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0);
    EXPECT_NE(ChooseFile(held, saveOutput), "");
    ::close(other);
    EXPECT_EQ(TakeOneMessageBox(wxICON_ERROR).text, "A sharing violation occurred while accessing " + held + ".");
    EXPECT_EQ(ReadFile(held), "held elsewhere");
}

// The face and size (in hundredths of a point) of each pane's text.
std::string PaneFonts(CMainFrame& window) {
    std::string fonts;
    for (CPane* pane : {static_cast<CPane*>(window.ScriptPane()), static_cast<CPane*>(window.OutputPane())})
        fonts += FromUiString(pane->GetControl()->StyleGetFaceName(wxSTC_STYLE_DEFAULT)) + " " +
                 std::to_string(pane->GetControl()->StyleGetSizeFractional(wxSTC_STYLE_DEFAULT)) + "\n";
    return fonts;
}

TEST_F(CommandsTest, OptionsChangeThePanesAtOnceAndTheSettingsFileAtExit) {
    const std::string path = test_env::TempDir() + "/options_restart/Tarnwell.conf";
    std::string fonts;  // as PaneFonts shows them
    int height = 0;
    {
        CFileProfileStore store(path);
        CSecondWindow window(wxSize(700, 500), &store);
        std::string face;  // a face of the Font page's list other than the panes' current one
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
                const std::vector<std::string>& faces = sheet->Font().FaceBox()->Entries();
                const auto other = std::find_if(faces.begin(), faces.end(), [&](const std::string& f) {
                    // the settings keep 31 bytes of a face name
                    return f != window->Settings().FontName() && f.size() < 32;
                });
                ASSERT_NE(other, faces.end()) << "the Font page lists no second face";
                face = *other;
                gui_env::ChooseEntry(sheet->Font().FaceBox(), face);
                gui_env::ChooseEntry(sheet->Font().SizeBox(), "20");
                height = font_arithmetic::HeightForSize(20, sheet->Font().PixelsPerInch());
                gui_env::Click(sheet->FindWindow(wxID_OK));
            },
            [&] { EXPECT_TRUE(window->RunCommand(ID_OPTIONS)); }));
        EXPECT_EQ(window->Settings().MaxColLen, 55);
        EXPECT_EQ(window->Settings().m_logFont.lfHeight, height);

        // Both panes show the new font at once; the selection and the
        // unsaved state stay.
        wxClientDC dc(&*window);
        const int twips = font_arithmetic::TwipsForHeight(height, dc.GetPPI().y);
        fonts = face + " " + std::to_string(twips * wxSTC_FONT_SIZE_MULTIPLIER / 20) + "\n";
        EXPECT_EQ(PaneFonts(*window), fonts + fonts);
        EXPECT_EQ(SelectionOf(window->ScriptPane()), std::pair(3, 12));
        EXPECT_TRUE(window->Script()->IsModified());
        // Wide characters still fill two cells each in the new font: the "x"
        // after two CJK characters and a blank is five cells in.
        window->OutputPane()->AppendText("\xE6\x9D\xB1\xE4\xBA\xAC x\r\n");
        wxStyledTextCtrl& output = *window->OutputPane()->GetControl();
        output.Colourise(0, -1);
        const int line = output.PositionFromLine(2);
        EXPECT_EQ(output.PointFromPosition(line + 7).x - output.PointFromPosition(line).x,
                  5 * output.TextWidth(wxSTC_STYLE_DEFAULT, "0"));

        // Nothing reaches the store before the window goes.
        EXPECT_EQ(store.GetProfileInt("Settings", "MaxColLen", -1), -1);
    }
    // Started again on that file: the settings are back and the panes show
    // the font.
    CFileProfileStore store(path);
    CSecondWindow window(wxSize(700, 500), &store);
    EXPECT_EQ(window->Settings().MaxColLen, 55);
    EXPECT_EQ(window->Settings().m_logFont.lfHeight, height);
    EXPECT_EQ(PaneFonts(*window), fonts + fonts);
}

}  // namespace
