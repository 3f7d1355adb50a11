// The worksheet's own window driven as the user drives it: find and replace
// in either pane, the History dialog, and the Options sheet with its effect
// on the panes and on the settings file across a restart.
#include "app_test_env.h"
#include "second_window.h"

#include "app/command_ids.h"
#include "app/main_frame.h"
#include "app/pane_font.h"
#include "app/ui_text.h"
#include "exec/history_dlg.h"
#include "panes/output_pane.h"
#include "panes/script_pane.h"
#include "script/script.h"
#include "settings/charset_table.h"
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
#include <wx/checkbox.h>
#include <wx/dcclient.h>
#include <wx/filedlg.h>
#include <wx/fdrepdlg.h>
#include <wx/listbox.h>
#include <wx/menu.h>
#include <wx/modalhook.h>
#include <wx/stc/stc.h>
#include <wx/textctrl.h>
#include <wx/toolbar.h>

#include <algorithm>
#include <cmath>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <sys/file.h>
#include <unistd.h>
#include <vector>

using namespace app_test;

namespace {

struct Range {
    int start;
    int end;
    bool operator==(const Range&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Range& range) {
    return out << range.start << ".." << range.end;
}

Range SelectionOf(wxStyledTextCtrl* control) { return {control->GetSelectionStart(), control->GetSelectionEnd()}; }

// A key as it reaches the window before any pane sees it.
void PressKey(CMainFrame& window, int keyCode, int modifiers = wxMOD_NONE) {
    wxKeyEvent key(wxEVT_CHAR_HOOK);
    key.m_keyCode = keyCode;
    key.m_controlDown = (modifiers & wxMOD_CONTROL) != 0;
    key.m_altDown = (modifiers & wxMOD_ALT) != 0;
    key.SetEventObject(&window);
    window.GetEventHandler()->ProcessEvent(key);
    gui_env::Settle();
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

// The parts of the platform's find dialog.
template <class T>
std::vector<T*> ControlsOf(wxDialog& dialog) {
    std::vector<T*> found;
    for (wxWindow* child : dialog.GetChildren())
        if (T* typed = dynamic_cast<T*>(child)) found.push_back(typed);
    return found;
}
wxTextCtrl* SearchField(wxDialog& dialog) { return ControlsOf<wxTextCtrl>(dialog).at(0); }
wxTextCtrl* ReplacementField(wxDialog& dialog) { return ControlsOf<wxTextCtrl>(dialog).at(1); }
wxCheckBox* BoxLabelled(wxDialog& dialog, const wxString& label) {
    for (wxCheckBox* box : ControlsOf<wxCheckBox>(dialog))
        if (box->GetLabelText() == label) return box;
    ADD_FAILURE() << "no box " << label;
    return nullptr;
}
// Presses a button of a dialog as a click does.
void PressButton(wxDialog& dialog, int id) { gui_env::Click(dialog.FindWindow(id)); }
void PressIn(wxDialog& dialog, int id) {
    PressButton(dialog, id);
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

TEST_F(CommandsTest, FindNextBeforeAnySearchOpensTheFindDialog) {
    CSecondWindow window(m_store, wxSize(700, 500));
    window->ScriptPane()->SetText("abc abc", false);
    window->ScriptPane()->SetSelection(1, 1);

    PressKey(*window, WXK_F3);
    std::vector<wxFindReplaceDialog*> dialogs = FindDialogsOf(*window);
    ASSERT_EQ(dialogs.size(), 1u);
    wxFindReplaceDialog& dialog = *dialogs[0];
    EXPECT_TRUE(dialog.IsShown());
    EXPECT_FALSE(dialog.HasFlag(wxFR_REPLACEDIALOG));
    EXPECT_EQ(SearchField(dialog)->GetValue(), "");
    // Nothing was searched and nothing reported.
    EXPECT_EQ(SelectionOf(window->ScriptPane()->GetControl()), (Range{1, 1}));
    EXPECT_TRUE(TakeMessageBoxes().empty());

    // Find, Replace and F3 again while it is open: no second dialog, and the
    // find dialog does not turn into a replace dialog.
    PressKey(*window, 'R', wxMOD_CONTROL);
    PressKey(*window, 'F', wxMOD_CONTROL);
    PressKey(*window, WXK_F3);
    dialogs = FindDialogsOf(*window);
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0], &dialog);
    EXPECT_FALSE(dialog.HasFlag(wxFR_REPLACEDIALOG));

    // Its first search starts at the end of the selection.
    SearchField(dialog)->SetValue("abc");
    PressIn(dialog, wxID_FIND);
    EXPECT_EQ(SelectionOf(window->ScriptPane()->GetControl()), (Range{4, 7}));

    // Closed, the text is saved: F3 searches it from the selection, forward
    // only, and says so when nothing is left.
    PressIn(dialog, wxID_CANCEL);
    EXPECT_TRUE(FindDialogsOf(*window).empty());
    window->ScriptPane()->SetSelection(0, 0);
    PressKey(*window, WXK_F3);
    EXPECT_EQ(SelectionOf(window->ScriptPane()->GetControl()), (Range{0, 3}));
    PressKey(*window, WXK_F3);
    PressKey(*window, WXK_F3);
    EXPECT_EQ(SelectionOf(window->ScriptPane()->GetControl()), (Range{4, 7}));
    const std::vector<MessageBox> boxes = TakeMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Search string not found");
    EXPECT_EQ(boxes[0].caption, "Tarnwell");
    EXPECT_TRUE(boxes[0].style & wxICON_EXCLAMATION);
    EXPECT_TRUE(FindDialogsOf(*window).empty());
}

TEST_F(CommandsTest, FindAndReplaceWorkInTheOutputPaneWhenItIsActive) {
    CSecondWindow window(m_store, wxSize(700, 500));
    window->ScriptPane()->SetText("abc in the script", false);
    window->Script()->Modify(false);
    window->OutputPane()->AppendText("SQL> select abc\r\nabc\r\nABC\r\n");
    wxStyledTextCtrl* output = window->OutputPane()->GetControl();
    ASSERT_TRUE(window->RunCommand(ID_NEXT_PANE));  // the output pane is active now
    window->OutputPane()->SetSelection(0, 0);

    ASSERT_TRUE(window->RunCommand(wxID_FIND));
    ASSERT_EQ(FindDialogsOf(*window).size(), 1u);
    wxFindReplaceDialog& find = *FindDialogsOf(*window)[0];
    SearchField(find)->SetValue("abc");
    BoxLabelled(find, "Match case")->SetValue(true);
    PressIn(find, wxID_FIND);
    EXPECT_EQ(SelectionOf(output), (Range{12, 15}));
    PressIn(find, wxID_FIND);
    EXPECT_EQ(SelectionOf(output), (Range{17, 20}));
    PressIn(find, wxID_FIND);  // "ABC" differs in case
    EXPECT_EQ(SelectionOf(output), (Range{17, 20}));
    ASSERT_EQ(TakeMessageBoxes().size(), 1u);
    EXPECT_EQ(SelectionOf(window->ScriptPane()->GetControl()), (Range{0, 0}));
    PressIn(find, wxID_CANCEL);

    // The replace dialog comes up with the saved text and box; its first
    // Replace only finds, the next replaces, although the user cannot type
    // into this pane.
    window->OutputPane()->SetSelection(0, 0);
    ASSERT_TRUE(window->RunCommand(wxID_REPLACE));
    ASSERT_EQ(FindDialogsOf(*window).size(), 1u);
    wxFindReplaceDialog& replace = *FindDialogsOf(*window)[0];
    EXPECT_TRUE(replace.HasFlag(wxFR_REPLACEDIALOG));
    EXPECT_EQ(SearchField(replace)->GetValue(), "abc");
    EXPECT_TRUE(BoxLabelled(replace, "Match case")->GetValue());
    BoxLabelled(replace, "Match case")->SetValue(false);
    ReplacementField(replace)->SetValue("xyz");
    PressIn(replace, wxID_REPLACE);
    EXPECT_EQ(window->OutputPane()->GetText(), "SQL> select abc\r\nabc\r\nABC\r\n");
    EXPECT_EQ(SelectionOf(output), (Range{12, 15}));
    PressIn(replace, wxID_REPLACE);
    EXPECT_EQ(window->OutputPane()->GetText(), "SQL> select xyz\r\nabc\r\nABC\r\n");
    EXPECT_EQ(SelectionOf(output), (Range{17, 20}));

    // Replace All goes on after the last match, without a message.
    PressIn(replace, wxID_REPLACE_ALL);
    EXPECT_EQ(window->OutputPane()->GetText(), "SQL> select xyz\r\nabc\r\nxyz\r\n");
    EXPECT_TRUE(TakeMessageBoxes().empty());
    EXPECT_TRUE(output->GetReadOnly());
    EXPECT_EQ(window->ScriptPane()->GetText(), "abc in the script");
    EXPECT_FALSE(window->Script()->IsModified());
    // The window closes with the dialog still open; the dialog goes with it.
}

// What the save dialog of Save Output showed before path was chosen in it.
struct SaveDialogShown {
    std::string name;
    std::string wildcard;
    int filter = -1;
};

// Cancels unseen every file dialog that comes up once the first one has
// ended (the next one may be made at the same address, which the driving
// of the first would take for the first again).
class CancelLaterFileDialogs : public wxModalDialogHook {
public:
    CancelLaterFileDialogs() { Register(); }
    ~CancelLaterFileDialogs() override { Unregister(); }
    int m_nCancelled = 0;

protected:
    int Enter(wxDialog* dialog) override {
        if (!m_bFirstEnded || dynamic_cast<wxFileDialog*>(dialog) == nullptr) return wxID_NONE;
        ++m_nCancelled;
        return wxID_CANCEL;
    }
    void Exit(wxDialog* dialog) override {
        if (dynamic_cast<wxFileDialog*>(dialog) != nullptr) m_bFirstEnded = true;
    }

private:
    bool m_bFirstEnded = false;
};

SaveDialogShown SaveOutputAs(CMainFrame& window, const std::string& path) {
    SaveDialogShown shown;
    EXPECT_TRUE(WithModalDialog(
        [&](wxDialog& dialog) {
            auto* files = dynamic_cast<wxFileDialog*>(&dialog);
            ASSERT_NE(files, nullptr) << "not a file dialog";
            shown.name = FromUiString(files->GetFilename());
            shown.wildcard = FromUiString(files->GetWildcard());
            shown.filter = files->GetFilterIndex();
            files->SetPath(ToUiString(path));
            // The chooser takes the folder over in the background.
            gui_env::WaitUntil([files] { return !files->GetPath().empty(); }, 2000);
            dialog.EndModal(wxID_OK);
        },
        [&] { EXPECT_TRUE(window.RunCommand(ID_SAVE_OUTPUT)); }));
    return shown;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST_F(CommandsTest, SaveOutputWritesThePaneBytesAndReportsFailuresNamingTheFile) {
    const std::string folder = test_env::TempDir() + "/save_output";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    CSecondWindow window(m_store, wxSize(700, 500));
    const std::string transcript = "SQL> select 1\r\n\r\n1\r\n-\r\n1\r\n\r\n1 row(s) selected\r\n";
    window->OutputPane()->AppendText(transcript);

    // A name typed without extension gets ".txt"; the dialog opens on
    // "output.txt" with the text filter first, every time.
    for (const char* typed : {"result", "other.log"}) {
        SCOPED_TRACE(typed);
        const SaveDialogShown shown = SaveOutputAs(*window, folder + "/" + typed);
        EXPECT_EQ(shown.name, "output.txt");
        EXPECT_EQ(shown.wildcard, "Text Files (*.txt)|*.txt|All Files (*.*)|*.*");
        EXPECT_EQ(shown.filter, 0);
    }
    EXPECT_EQ(ReadFile(folder + "/result.txt"), transcript);
    EXPECT_EQ(ReadFile(folder + "/other.log"), transcript);
    EXPECT_FALSE(std::filesystem::exists(folder + "/result"));

    // The name with ".txt" added is another file than the one the dialog
    // confirmed: replacing it is asked first, and No writes nothing (the
    // dialog comes again, here cancelled).
    std::ofstream(folder + "/kept.txt", std::ios::binary) << "kept";
    {
        CancelLaterFileDialogs later;
        SaveOutputAs(*window, folder + "/kept");
        EXPECT_EQ(later.m_nCancelled, 1);
    }
    std::vector<MessageBox> boxes = TakeMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, folder + "/kept.txt already exists.\nDo you want to replace it?");
    EXPECT_TRUE(boxes[0].style & wxYES_NO);
    EXPECT_EQ(ReadFile(folder + "/kept.txt"), "kept");

    // A file another program holds locked: a stop message naming the file,
    // which keeps its content; the pane is untouched.
    const std::string held = folder + "/held.txt";
    std::ofstream(held, std::ios::binary) << "held elsewhere";
    const int other = ::open(held.c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(other, 0);
    ASSERT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0);
    SaveOutputAs(*window, held);
    ::close(other);
    boxes = TakeMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "A sharing violation occurred while accessing " + held + ".");
    EXPECT_EQ(boxes[0].caption, "Tarnwell");
    EXPECT_TRUE(boxes[0].style & wxICON_ERROR);
    EXPECT_EQ(ReadFile(held), "held elsewhere");
    EXPECT_EQ(window->OutputPane()->GetText(), transcript);
}

// Whether the menu entry and the tool-bar button of id are enabled, as the
// window shows them after its next update.
struct ShownState {
    bool menu;
    bool tool;
    bool operator==(const ShownState&) const = default;
};
std::ostream& operator<<(std::ostream& out, const ShownState& state) {
    return out << "menu " << state.menu << ", tool " << state.tool;
}
ShownState ShownStateOf(CMainFrame& window, int id) {
    window.UpdateWindowUI();
    return {window.GetMenuBar()->IsEnabled(id), window.GetToolBar()->GetToolEnabled(id)};
}

TEST_F(CommandsTest, HistoryDialogLoadsTheWholeChosenEntry) {
    CSecondWindow window(m_store, wxSize(700, 500));
    EXPECT_EQ(ShownStateOf(*window, ID_PREVIOUS_SCRIPT), (ShownState{false, false}));
    EXPECT_EQ(ShownStateOf(*window, ID_NEXT_SCRIPT), (ShownState{false, false}));

    std::string longScript;
    for (int i = 0; longScript.size() < 2000; ++i) longScript += "select " + std::to_string(i) + " from t;\r\n";
    window->History().Append(longScript);
    window->History().Append("select 2");
    window->History().Append("select 3");
    EXPECT_EQ(ShownStateOf(*window, ID_PREVIOUS_SCRIPT), (ShownState{true, true}));
    EXPECT_EQ(ShownStateOf(*window, ID_NEXT_SCRIPT), (ShownState{false, false}));
    window->ScriptPane()->SetText("typed", false);
    window->Script()->Modify(false);

    // Cancel after choosing another line changes nothing.
    ASSERT_TRUE(WithModalDialog(
        [&](wxDialog& dialog) {
            auto* list = dynamic_cast<wxListBox*>(dialog.FindWindow(CHistoryDlg::kListId));
            ASSERT_NE(list, nullptr);
            list->SetSelection(0);
            PressButton(dialog, wxID_CANCEL);
        },
        [&] { EXPECT_TRUE(window->RunCommand(ID_HISTORY)); }));
    EXPECT_EQ(window->ScriptPane()->GetText(), "typed");
    EXPECT_EQ(window->History().CurrentIndex(), 2u);
    EXPECT_FALSE(window->Script()->IsModified());

    // OK on the first line: the list and preview show it cut, the pane gets
    // all of it, selected, and the script counts as changed.
    std::string line;
    std::string preview;
    int selectedAtStart = -1;
    ASSERT_TRUE(WithModalDialog(
        [&](wxDialog& dialog) {
            auto* list = dynamic_cast<wxListBox*>(dialog.FindWindow(CHistoryDlg::kListId));
            auto* text = dynamic_cast<wxTextCtrl*>(dialog.FindWindow(CHistoryDlg::kTextId));
            ASSERT_NE(list, nullptr);
            ASSERT_NE(text, nullptr);
            EXPECT_TRUE(text->HasFlag(wxTE_READONLY));
            selectedAtStart = list->GetSelection();
            list->SetSelection(0);
            wxCommandEvent changed(wxEVT_LISTBOX, CHistoryDlg::kListId);
            changed.SetEventObject(list);
            changed.SetInt(0);
            list->GetEventHandler()->ProcessEvent(changed);
            line = FromUiString(list->GetString(0));
            preview = FromUiString(text->GetValue());
            PressButton(dialog, wxID_OK);
        },
        [&] { EXPECT_TRUE(window->RunCommand(ID_HISTORY)); }));
    EXPECT_EQ(selectedAtStart, 2);
    std::string expectedLine = longScript.substr(0, 99);
    for (char& c : expectedLine) c = (c == '\r' || c == '\n') ? ' ' : c;
    EXPECT_EQ(line, expectedLine);
    std::string expectedPreview = longScript.substr(0, 999);
    for (std::string::size_type at; (at = expectedPreview.find("\r\n")) != std::string::npos;)
        expectedPreview.erase(at, 1);
    EXPECT_EQ(preview, expectedPreview);

    EXPECT_EQ(window->ScriptPane()->GetText(), longScript);
    EXPECT_EQ(SelectionOf(window->ScriptPane()->GetControl()), (Range{0, static_cast<int>(longScript.size())}));
    EXPECT_TRUE(window->Script()->IsModified());
    EXPECT_EQ(window->History().CurrentIndex(), 0u);
    EXPECT_EQ(ShownStateOf(*window, ID_PREVIOUS_SCRIPT), (ShownState{false, false}));
    EXPECT_EQ(ShownStateOf(*window, ID_NEXT_SCRIPT), (ShownState{true, true}));

    // Alt+Right steps to the next newer entry.
    PressKey(*window, WXK_RIGHT, wxMOD_ALT);
    EXPECT_EQ(window->ScriptPane()->GetText(), "select 2");
    EXPECT_EQ(SelectionOf(window->ScriptPane()->GetControl()), (Range{0, 8}));
    window->Script()->Modify(false);
}

// The Options sheet of a window, driven from inside its modal loop.
bool DriveOptions(CMainFrame& window, const std::function<void(CPrefDlg& sheet)>& drive) {
    return WithModalDialog(
        [&](wxDialog& dialog) {
            auto* sheet = dynamic_cast<CPrefDlg*>(&dialog);
            ASSERT_NE(sheet, nullptr) << "not the Options sheet";
            drive(*sheet);
        },
        [&] { EXPECT_TRUE(window.RunCommand(ID_OPTIONS)); });
}

void ShowFontPage(CPrefDlg& sheet) {
    sheet.GetBookCtrl()->SetSelection(CPrefDlg::kFontPage);
    gui_env::Pump();
    ASSERT_EQ(sheet.GetBookCtrl()->GetSelection(), CPrefDlg::kFontPage);
}

// Chooses an entry of a list as a click does.
void ChooseIn(wxListBox* list, int index) {
    ASSERT_NE(list, nullptr);
    ASSERT_NE(index, wxNOT_FOUND);
    list->SetSelection(index);
    wxCommandEvent changed(wxEVT_LISTBOX, list->GetId());
    changed.SetEventObject(list);
    changed.SetInt(index);
    list->ProcessWindowEvent(changed);
    gui_env::Pump();
}

int IndexOf(const std::vector<std::string>& entries, const std::string& entry) {
    const auto at = std::find(entries.begin(), entries.end(), entry);
    return at == entries.end() ? wxNOT_FOUND : static_cast<int>(at - entries.begin());
}

// Every character of a pane shows face at size (in hundredths of a point),
// never bold.
void ExpectFontOnAllText(wxStyledTextCtrl* control, const std::string& face, int size) {
    std::set<int> styles = {wxSTC_STYLE_DEFAULT};
    for (int pos = 0; pos < control->GetLength(); ++pos) styles.insert(control->GetStyleAt(pos));
    for (const int style : styles) {
        SCOPED_TRACE("style " + std::to_string(style));
        EXPECT_EQ(FromUiString(control->StyleGetFaceName(style)), face);
        EXPECT_NEAR(control->StyleGetSizeFractional(style), size, 1);
        EXPECT_FALSE(control->StyleGetBold(style));
    }
}

// The twelve settings as the user sets them in the sheet.
struct Chosen {
    int defColLen = 12;
    int maxColLen = 55;
    std::string spoolFile;
    std::string face;
    std::string size = "20";
    int charsetIndex = 17;  // "Russian"
};

// Sets every setting of the sheet to what chosen says, and presses OK.
void SetEverySetting(CPrefDlg& sheet, const Chosen& chosen) {
    CPrefPage1& general = sheet.General();
    const auto edit = [&](int id) { return dynamic_cast<wxTextCtrl*>(sheet.FindWindow(id)); };
    const auto toggle = [&](int id) {
        auto* box = dynamic_cast<wxCheckBox*>(sheet.FindWindow(id));
        ASSERT_NE(box, nullptr);
        box->SetValue(!box->GetValue());
        wxCommandEvent clicked(wxEVT_CHECKBOX, id);
        clicked.SetEventObject(box);
        clicked.SetInt(box->GetValue());
        box->ProcessWindowEvent(clicked);
        gui_env::Pump();
    };
    edit(CPrefPage1::IDC_DEFCOLLEN)->SetValue(std::to_string(chosen.defColLen));
    edit(CPrefPage1::IDC_MAXCOLLEN)->SetValue(std::to_string(chosen.maxColLen));
    toggle(CPrefPage1::IDC_ENABLESPOOL);
    general.SetFileChooser([&](wxWindow*) { return std::optional<std::string>(chosen.spoolFile); });
    gui_env::Click(sheet.FindWindow(CPrefPage1::IDC_SELECTFILE));
    toggle(CPrefPage1::IDC_ENABLEOUTPUT);
    edit(CPrefPage1::IDC_SINGLELINECOMMENT)->SetValue("#");
    edit(CPrefPage1::IDC_MULTILINECOMMENTSTART)->SetValue("{");
    edit(CPrefPage1::IDC_MULTILINECOMMENTEND)->SetValue("}");
    toggle(CPrefPage1::IDC_REMOVECOMMENTS);

    ShowFontPage(sheet);
    CPrefPage2& font = sheet.Font();
    ChooseIn(font.FaceBox()->List(), IndexOf(font.FaceBox()->Entries(), chosen.face));
    ChooseIn(font.SizeBox()->List(), IndexOf(font.SizeBox()->Entries(), chosen.size));
    ChooseIn(font.CharsetList(), chosen.charsetIndex);
    PressButton(sheet, wxID_OK);
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
    const std::string spoolFile = folder + "/spool.txt";

    Chosen chosen;
    chosen.spoolFile = spoolFile;
    int height = 0;
    auto store = std::make_unique<CFileProfileStore>(path);
    {
        CSecondWindow window(*store, wxSize(700, 500));
        chosen.face = OtherFace(window->Settings().FontName());
        if (chosen.face.empty()) GTEST_SKIP() << "no second fixed face on this system";

        // Text in both panes, a selection in each, and a script with
        // unsaved changes.
        window->OutputPane()->AppendText("SQL> select 1\r\nok\r\n");
        window->OutputPane()->SetSelection(2, 9);
        window->ScriptPane()->SetText("select 1\r\nfrom t", false);
        window->ScriptPane()->SetSelection(3, 12);
        window->Script()->Modify(true);

        int pixelsPerInch = 0;
        ASSERT_TRUE(DriveOptions(*window, [&](CPrefDlg& sheet) {
            EXPECT_EQ(sheet.GetTitle(), "Options");
            SetEverySetting(sheet, chosen);
            pixelsPerInch = sheet.Font().PixelsPerInch();
        }));
        height = font_arithmetic::HeightForSize(20, pixelsPerInch);

        const CSettingsRecord& settings = window->Settings();
        EXPECT_EQ(settings.FontName(), chosen.face);
        EXPECT_EQ(settings.m_logFont.lfHeight, height);
        EXPECT_EQ(settings.FontCharset, chosen.charsetIndex);
        EXPECT_EQ(settings.m_logFont.lfCharSet, kCharsetTable[17].value);
        EXPECT_EQ(settings.MaxColLen, 55);
        EXPECT_EQ(settings.SpoolFile, spoolFile);

        // Both panes show the new font on all their text at once, never
        // bold; selections and the unsaved state stay.
        wxClientDC dc(&*window);
        const int size = static_cast<int>(std::lround(
            TwipsFromCharHeight(height, dc.GetPPI().y) / 20.0 * wxSTC_FONT_SIZE_MULTIPLIER));
        for (CPane* pane : {static_cast<CPane*>(window->ScriptPane()), static_cast<CPane*>(window->OutputPane())}) {
            ExpectFontOnAllText(pane->GetControl(), chosen.face, size);
        }
        EXPECT_EQ(SelectionOf(window->OutputPane()->GetControl()), (Range{2, 9}));
        EXPECT_EQ(SelectionOf(window->ScriptPane()->GetControl()), (Range{3, 12}));
        EXPECT_TRUE(window->Script()->IsModified());
        EXPECT_GT(window->OutputPane()->GetCharWidth(), 0);

        // Nothing reaches the store before the window goes.
        EXPECT_EQ(store->GetProfileString("Settings", "FontName", "(none)"), "(none)");
        EXPECT_EQ(store->GetProfileInt("Settings", "MaxColLen", -1), -1);
        EXPECT_FALSE(std::filesystem::exists(path));

        window->Script()->Modify(false);
        ASSERT_TRUE(window.Close());
    }
    store.reset();  // the program's exit writes the file
    const std::string file = ReadFile(path);
    EXPECT_NE(file.find("FontName=" + chosen.face + "\n"), std::string::npos) << file;
    EXPECT_NE(file.find("FontSize=" + std::to_string(height) + "\n"), std::string::npos) << file;
    EXPECT_NE(file.find("FontCharset=17\n"), std::string::npos) << file;

    // Started again on that file: every setting is back, the panes show the
    // font, and the sheet shows the values.
    CFileProfileStore storeAgain(path);
    CSecondWindow window(storeAgain, wxSize(700, 500));
    const CSettingsRecord& settings = window->Settings();
    EXPECT_EQ(settings.DefColLen, 12);
    EXPECT_EQ(settings.MaxColLen, 55);
    EXPECT_EQ(settings.EnableSpool, 1);
    EXPECT_EQ(settings.SpoolFile, spoolFile);
    EXPECT_EQ(settings.FontName(), chosen.face);
    EXPECT_EQ(settings.m_logFont.lfHeight, height);
    EXPECT_EQ(settings.FontCharset, 17);
    EXPECT_EQ(settings.EnableOutput, 0);
    EXPECT_EQ(settings.SingleLineComment, "#");
    EXPECT_EQ(settings.MultilineCommentStart, "{");
    EXPECT_EQ(settings.MultilineCommentEnd, "}");
    EXPECT_EQ(settings.RemoveComments, 1);
    for (CPane* pane : {static_cast<CPane*>(window->ScriptPane()), static_cast<CPane*>(window->OutputPane())})
        EXPECT_EQ(FromUiString(pane->GetControl()->StyleGetFaceName(wxSTC_STYLE_DEFAULT)), chosen.face);

    ASSERT_TRUE(DriveOptions(*window, [&](CPrefDlg& sheet) {
        const auto value = [&](int id) { return dynamic_cast<wxTextCtrl*>(sheet.FindWindow(id))->GetValue(); };
        const auto checked = [&](int id) { return dynamic_cast<wxCheckBox*>(sheet.FindWindow(id))->GetValue(); };
        EXPECT_EQ(value(CPrefPage1::IDC_DEFCOLLEN), "12");
        EXPECT_EQ(value(CPrefPage1::IDC_MAXCOLLEN), "55");
        EXPECT_TRUE(checked(CPrefPage1::IDC_ENABLESPOOL));
        EXPECT_EQ(FromUiString(value(CPrefPage1::IDC_SPOOLFILE)), spoolFile);
        EXPECT_FALSE(checked(CPrefPage1::IDC_ENABLEOUTPUT));
        EXPECT_EQ(value(CPrefPage1::IDC_SINGLELINECOMMENT), "#");
        EXPECT_EQ(value(CPrefPage1::IDC_MULTILINECOMMENTSTART), "{");
        EXPECT_EQ(value(CPrefPage1::IDC_MULTILINECOMMENTEND), "}");
        EXPECT_TRUE(checked(CPrefPage1::IDC_REMOVECOMMENTS));
        ShowFontPage(sheet);
        EXPECT_EQ(sheet.Font().FaceBox()->GetText(), chosen.face);
        EXPECT_EQ(sheet.Font().SizeBox()->GetText(), "20");
        EXPECT_EQ(sheet.Font().CharsetList()->GetSelection(), 17);
        PressButton(sheet, wxID_CANCEL);
    }));
}

}  // namespace
