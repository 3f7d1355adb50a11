// The application's own window: its title, rows, settings, commands with
// their menu entries and keys, failure reports and the key indicators.
#include "app_test_env.h"
#include "xdnd_drag.h"

#include "app/about_dlg.h"
#include "app/command_table.h"
#include "app/doc_manager.h"
#include "app/lock_key_state.h"
#include "app/menu_shortcut_text.h"
#include "app/pane_font.h"
#include "app/recent_file_list.h"
#include "app/row_splitter.h"
#include "app/tarnwell_app.h"
#include "common/exception.h"

#include <wx/clipbrd.h>
#include <wx/dataobj.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/menu.h>
#include <wx/textctrl.h>
#include <wx/toolbar.h>

#include <cctype>
#include <climits>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <new>
#include <stdexcept>

using namespace app_test;
using namespace std::string_literals;

namespace {

class MainFrameTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        SetScript("");
        Frame().RunCommand(wxID_NEW);
        Frame().ScriptPane()->Activate(true);
        gui_env::Settle();
    }
    void TearDown() override {
        Frame().Script()->Modify(false);
        WindowTest::TearDown();
    }
};

TEST_F(MainFrameTest, FileCommandsSetTheTitleAndKeepEveryByteAndAFailedOpenChangesNothing) {
    EXPECT_EQ(TitleOf(Frame()), "untitled - Tarnwell - not connected");
    const std::string bytes = "select 'caf\xC3\xA9';\r\n-- \x80\xFF\r\nselect 2;\0after the nul\r\n\0"s;
    ASSERT_NE(ChooseFile(WriteTempFile("my-script.sql", bytes), [] { Frame().RunCommand(wxID_OPEN); }), "");
    EXPECT_EQ(TitleOf(Frame()), "my-script.sql - Tarnwell - not connected");
    EXPECT_EQ(ScriptText(), bytes);
    EXPECT_FALSE(Frame().Script()->IsModified());

    // Saving takes the pane's text as it stands.
    Frame().ScriptPane()->SetText("\0select 3"s, true);
    const std::string copy = test_env::TempPath("saved-as.sql");
    ASSERT_NE(ChooseFile(copy, [] { Frame().RunCommand(wxID_SAVEAS); }), "");
    EXPECT_EQ(TitleOf(Frame()), "saved-as.sql - Tarnwell - not connected");
    EXPECT_EQ(ReadFile(copy), "\0select 3"s + bytes);
    EXPECT_FALSE(Frame().Script()->IsModified());

    // A file that cannot be read is reported and changes nothing.
    const std::string missing = test_env::TempPath("no-such-folder/missing.sql");
    EXPECT_EQ(App().GetDocManager()->OpenScript(ToUiString(missing)), CDocManager::OpenResult::Failed);
    EXPECT_EQ(TakeOneMessageBox(wxICON_ERROR).text, missing + " was not found.");
    EXPECT_EQ(TitleOf(Frame()), "saved-as.sql - Tarnwell - not connected");
    EXPECT_EQ(ScriptText(), "\0select 3"s + bytes);

    EXPECT_TRUE(Frame().RunCommand(wxID_NEW));
    EXPECT_EQ(TitleOf(Frame()), "untitled - Tarnwell - not connected");
    EXPECT_EQ(ScriptText(), "");
}

// However a script is saved for the first time, a name typed without an
// extension gets ".sql", so the Open dialog lists the file; the dialog
// proposes "untitled.sql".
TEST_F(MainFrameTest, ANameTypedWithoutExtensionGetsSql) {
    const std::string folder = test_env::TempPath("save_script");
    std::filesystem::create_directories(folder);
    const std::pair<std::string, std::function<void()>> ways[] = {
        {"ctrl-s", [] { PressKey(Frame(), 'S', wxMOD_CONTROL); }},
        {"save-as", [] { Frame().RunCommand(wxID_SAVEAS); }},
        {"yes-at-the-prompt", [] { Frame().RunCommand(wxID_NEW); }},
    };
    AnswerYesNo(wxYES);
    for (const auto& [name, save] : ways) {
        SCOPED_TRACE(name);
        SetScript("select 1;");
        Frame().Script()->Modify(true);
        EXPECT_EQ(ChooseFile(folder + "/" + name, save), "untitled.sql|Script Files (*.sql)|*.sql|0");
        EXPECT_EQ(ReadFile(folder + "/" + name + ".sql"), "select 1;");
        EXPECT_FALSE(std::filesystem::exists(folder + "/" + name));
        const CRecentFileList& recent = *App().GetDocManager()->GetRecentFiles();
        EXPECT_EQ(recent.GetCount() > 0 ? FromUiString(recent.GetHistoryFile(0)) : "", folder + "/" + name + ".sql");
        Frame().RunCommand(wxID_NEW);
    }
}

std::string FileUri(const std::string& path) {
    std::string uri = "file://";
    for (const unsigned char c : path) {
        char escaped[4];
        std::snprintf(escaped, sizeof escaped, "%%%02X", c);
        uri += std::isalnum(c) || std::strchr("/-._~", c) ? std::string(1, static_cast<char>(c)) : escaped;
    }
    return uri;
}

// Drags data from another program onto the middle of part.
bool DropOn(wxWindow* part, const std::string& type, const std::string& data) {
    const wxPoint middle = part->GetScreenPosition() + part->GetSize() / 2;
    return xdnd_drag::Drop(middle.x, middle.y, type, data);
}

// A file dragged from a file manager opens wherever it is dropped on the
// window, after the save prompt; text dropped on the script pane goes in.
TEST_F(MainFrameTest, DraggedFilesAreOpenedAndDraggedTextIsInserted) {
    CSecondWindow window(wxSize(600, 400));
    window->Move(0, 0);
    window->Raise();
    gui_env::Settle();
    const std::pair<std::string, wxWindow*> parts[] = {
        {"output pane", window->OutputPane()->GetControl()}, {"script pane", window->ScriptPane()->GetControl()},
        {"tool bar", window->GetToolBar()}, {"status bar", window->GetStatusBar()}, {"menu bar", window->GetMenuBar()},
    };
    for (const auto& [name, part] : parts) {
        SCOPED_TRACE(name);
        const std::string path = WriteTempFile(name + ".sql", "select '" + name + "';");
        ASSERT_TRUE(DropOn(part, "text/uri-list", FileUri(path) + "\r\n"));
        EXPECT_TRUE(gui_env::WaitUntil([&] { return TitleOf(*window) == name + ".sql - Tarnwell - not connected"; }))
            << TitleOf(*window);
        EXPECT_EQ(window->ScriptPane()->GetText(), "select '" + name + "';");
    }

    window->ScriptPane()->SetText(std::string_view(), false);
    ASSERT_TRUE(DropOn(window->ScriptPane()->GetControl(), "UTF8_STRING", "select 2;"));
    EXPECT_EQ(window->ScriptPane()->GetText(), "select 2;");

    // The modified script is kept when the prompt is cancelled.
    ASSERT_TRUE(DropOn(window->GetToolBar(), "text/uri-list", FileUri(WriteTempFile("more.sql", "x")) + "\r\n"));
    std::vector<MessageBox> boxes;
    EXPECT_TRUE(gui_env::WaitUntil([&] { return !(boxes = TakeMessageBoxes()).empty(); }));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Save changes to menu bar.sql?");
    EXPECT_EQ(window->ScriptPane()->GetText(), "select 2;");
    EXPECT_EQ(TitleOf(*window), "menu bar.sql - Tarnwell - not connected");
}

TEST_F(MainFrameTest, OutputRowIsHalfTheOuterHeightLessOneHundred) {
    for (const auto& [outerHeight, rowHeight] : {std::pair{100, 0}, std::pair{301, 100}, std::pair{600, 250}}) {
        SCOPED_TRACE(outerHeight);
        CSecondWindow window(wxSize(500, outerHeight));
        wxSplitterWindow* splitter = window->Splitter();
        EXPECT_EQ(splitter->GetWindow1(), window->OutputPane()->GetControl());  // output above, script below
        EXPECT_EQ(splitter->GetWindow2(), window->ScriptPane()->GetControl());
        EXPECT_EQ(window->OutputPane()->GetControl()->GetSize().y, rowHeight);
        // The upper row keeps its height when the window grows.
        window->SetSize(wxSize(500, outerHeight + 200));
        gui_env::Settle();
        EXPECT_EQ(splitter->GetSashPosition(), rowHeight);
    }
}

// Short lines leave the panes plain up to their right edge: the theme's
// shading of an edge with more content beyond it (which the text control's
// narrow scroll range made GTK draw) is off. Read from the screen.
TEST_F(MainFrameTest, ThePanesRightEdgeIsNotShaded) {
    CSecondWindow window(wxSize(500, 400));
    window->Raise();
    window->ScriptPane()->SetText(std::string_view("select 1;"), false);
    for (CPane* pane : {static_cast<CPane*>(window->OutputPane()), static_cast<CPane*>(window->ScriptPane())}) {
        wxStyledTextCtrl& control = *pane->GetControl();
        control.Refresh();
        control.Update();
        gui_env::Settle();
        const wxRect client(control.ClientToScreen(wxPoint(0, 0)), control.GetClientSize());
        wxBitmap shot(client.width, client.height);
        wxMemoryDC memory(shot);
        wxScreenDC screen;
        ASSERT_TRUE(memory.Blit(0, 0, client.width, client.height, &screen, client.x, client.y));
        memory.SelectObject(wxNullBitmap);
        const wxImage image = shot.ConvertToImage();
        const std::string background = control.StyleGetBackground(wxSTC_STYLE_DEFAULT).GetAsString(wxC2S_HTML_SYNTAX).ToStdString();
        // The right quarter of a row below the text, up to the last column.
        const int y = client.height - 10;
        for (int x = client.width * 3 / 4; x < client.width - 1; ++x)
            ASSERT_EQ(wxColour(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y)).GetAsString(wxC2S_HTML_SYNTAX).ToStdString(),
                      background) << x;
    }
}

// The settings come with the document and go back to the file with the
// window; a window that never got its document never loaded them and leaves
// the file as it was.
TEST_F(MainFrameTest, SettingsAreLoadedWithTheDocumentAndOnlyThenSaved) {
    const std::string stored = "[Settings]\nMaxColLen=40\n";
    const std::string path = WriteTempFile("settings.conf", stored);
    {
        CFileProfileStore store(path);
        CSecondWindow bare(wxSize(500, 400), &store, false);
    }
    EXPECT_EQ(ReadFile(path), stored);
    {
        CFileProfileStore store(path);
        CSecondWindow window(wxSize(500, 400), &store);
        EXPECT_EQ(window->Settings().MaxColLen, 40);
        window->Settings().DefColLen = 12;
    }
    EXPECT_NE(ReadFile(path).find("\nDefColLen=12\n"), std::string::npos) << ReadFile(path);
}

TEST_F(MainFrameTest, PaneFontIsFixedPitchWithTheStoredHeightAndLeavesTheScriptAlone) {
    SetScript("select 1 from dual");
    for (const bool modified : {false, true}) {
        Frame().Script()->Modify(modified);
        Frame().ScriptPane()->SetSelection(2, 5);
        Frame().Settings().m_logFont.lfHeight = modified ? -20 : 14;
        Frame().ApplyPaneFont();
        EXPECT_EQ(Frame().Script()->IsModified(), modified);
        EXPECT_EQ(SelectionOf(Frame().ScriptPane()), std::pair(2, 5));
        // The output pane measures its wrap width with the font's characters.
        EXPECT_GT(Frame().OutputPane()->GetCharWidth(), 0);
    }
    Frame().Settings().m_logFont.lfHeight = -15;
    Frame().ApplyPaneFont();

    // Any face gives a fixed-pitch font of the stored height; a settings file
    // may hold any height: the font stays one the toolkit can draw (no
    // overflow, no failed assertion), at most 32,767 twips.
    wxClientDC dc(&Frame());
    const int ppi = dc.GetPPI().y;
    for (const char* face : {"Courier New", "No Such Face 4711", ""}) {
        SCOPED_TRACE(face);
        LOGFONT logFont;
        std::strncpy(logFont.lfFaceName, face, sizeof logFont.lfFaceName - 1);
        logFont.lfHeight = -15;  // the character height: 15 * 1440 / ppi twips
        const wxFont font = MakePaneFont(logFont, dc);
        EXPECT_TRUE(font.IsFixedWidth());
        EXPECT_EQ(font.GetWeight(), wxFONTWEIGHT_NORMAL);
        EXPECT_DOUBLE_EQ(font.GetFractionalPointSize(), 15 * 1440 / ppi / 20.0);
        logFont.lfHeight = 24;  // the height of the character cell
        dc.SetFont(MakePaneFont(logFont, dc));
        EXPECT_NEAR(dc.GetCharHeight(), 24, 1);
    }
    for (const int height : {INT_MIN, -100000, -1, 100000, INT_MAX}) {
        LOGFONT logFont;
        logFont.lfHeight = height;
        const wxFont font = MakePaneFont(logFont, dc);
        ASSERT_TRUE(font.IsOk()) << height;
        EXPECT_GT(font.GetFractionalPointSize(), 0) << height;
        EXPECT_LE(font.GetFractionalPointSize(), 32767 / 20.0) << height;
    }
}

TEST_F(MainFrameTest, EditCommandsFollowTheActivePane) {
    SetScript("select 1");
    Frame().ScriptPane()->GetControl()->AddText("x");  // typed: something to undo
    EXPECT_TRUE(Frame().Script()->IsModified());
    if (const wxClipboardLocker clipboard; !!clipboard) wxTheClipboard->SetData(new wxTextDataObject("pasted"));
    // A command, and whether it is enabled with the script pane and with the
    // output pane active.
    const std::tuple<int, bool, bool> commands[] = {
        {wxID_UNDO, true, false},       {wxID_CUT, true, false},        {wxID_PASTE, true, false},
        {wxID_COPY, true, true},        {wxID_SELECTALL, true, true},   {ID_CLEAR_OUTPUT, true, true},
        {ID_EXECUTE, true, true},       {wxID_SAVE, true, true},        {ID_NEXT_PANE, true, true},
        {ID_PREVIOUS_SCRIPT, false, false}, {ID_NEXT_SCRIPT, false, false}, {ID_CANCEL_EXECUTION, false, false},
    };
    for (const bool scriptActive : {true, false}) {
        SCOPED_TRACE(scriptActive ? "script pane" : "output pane");
        EXPECT_EQ(App().GetDocManager()->GetCurrentView(),
                  scriptActive ? static_cast<wxView*>(Frame().ScriptPane()) : Frame().OutputPane());
        for (const auto& [id, inScript, inOutput] : commands)
            EXPECT_EQ(Frame().IsCommandEnabled(id), scriptActive ? inScript : inOutput) << "id " << id;
        PressKey(Frame(), WXK_F6);  // the other pane becomes active
    }
    EXPECT_EQ(App().GetDocManager()->GetCurrentView(), Frame().ScriptPane());
    wxTheClipboard->Clear();
}

// Keys beside the command table's: a further key of Execute, and keys that
// run nothing.
const std::pair<int, AccelKey> kFurtherKeys[] = {
    {ID_EXECUTE, {wxMOD_CONTROL, WXK_NUMPAD_ENTER}}, {0, {0, 'D'}}, {0, {wxMOD_CONTROL | wxMOD_SHIFT, 'D'}},
    {0, {wxMOD_ALT, 'D'}}, {0, {0, WXK_RETURN}}, {0, {wxMOD_CONTROL, 'Q'}},
};

// Every command has its menu entry as the command table gives it, shown with
// the shortcut text, and is run by its keys (wxACCEL_* flags are wxMOD_*).
TEST_F(MainFrameTest, EveryCommandHasItsMenuEntryAndKeys) {
    wxMenuBar* bar = Frame().GetMenuBar();
    size_t entries = 0;
    for (size_t m = 0; m < bar->GetMenuCount(); ++m)
        for (const wxMenuItem* item : bar->GetMenu(m)->GetMenuItems())
            entries += !item->IsSeparator() &&
                       (item->GetId() < wxID_FILE1 || item->GetId() >= wxID_FILE1 + CRecentFileList::kMaxFiles);

    // In front of the window's own handlers every command is enabled and
    // only recorded.
    int command = 0;
    wxEvtHandler recorder;
    recorder.Bind(wxEVT_UPDATE_UI, [](wxUpdateUIEvent& event) { event.Enable(true); });
    recorder.Bind(wxEVT_MENU, [&](wxCommandEvent& event) { command = event.GetId(); });
    Frame().PushEventHandler(&recorder);
    const auto runs = [&](int expected, const AccelKey& key) {
        command = 0;
        PressKey(Frame(), key.keyCode, key.flags);
        EXPECT_EQ(command, expected) << "key " << key.keyCode << " with " << key.flags;
    };
    size_t listed = 0;
    for (const CommandInfo& c : CommandTable()) {
        if (c.id == wxID_FILE1) continue;  // the recent files' placeholder
        if (c.text != nullptr) {
            ++listed;
            const wxMenuItem* item = bar->FindItem(c.id);
            ASSERT_NE(item, nullptr) << c.text;
            const std::string shortcut = FromUiString(MenuShortcutText(*item));
            EXPECT_EQ(FromUiString(item->GetItemLabel()) + (shortcut.empty() ? "" : "\t" + shortcut), c.text);
            // The keys are the window's own: no entry has a key of the
            // toolkit (which would give Exit a Ctrl+Q).
            EXPECT_EQ(MenuToolkitAcceleratorCount(*item), 0) << c.text;
        }
        for (const AccelKey& key : c.keys)
            if (key.keyCode != 0) runs(c.id, key);
    }
    for (const auto& [id, key] : kFurtherKeys) runs(id, key);
    Frame().PopEventHandler();
    EXPECT_EQ(entries, listed);
}

// The keys the text control would take for itself (duplicate the line, zoom)
// do nothing there, nor does Ctrl with the mouse wheel.
TEST_F(MainFrameTest, TextControlKeysOfItsOwnDoNothing) {
    SetScript("select 1");
    wxStyledTextCtrl* control = Frame().ScriptPane()->GetControl();
    for (const int key : {int{'D'}, int{WXK_NUMPAD_ADD}, int{WXK_NUMPAD_SUBTRACT}, int{WXK_NUMPAD_DIVIDE}}) {
        wxKeyEvent down(wxEVT_KEY_DOWN);
        down.m_keyCode = key;
        down.m_controlDown = true;
        down.SetEventObject(control);
        control->ProcessWindowEvent(down);
        EXPECT_EQ(ScriptText(), "select 1") << key;
        EXPECT_EQ(control->GetZoom(), 0) << key;
    }
    wxMouseEvent wheel(wxEVT_MOUSEWHEEL);
    wheel.m_controlDown = true;
    wheel.m_wheelRotation = wheel.m_wheelDelta = 120;
    wheel.SetEventObject(control);
    control->ProcessWindowEvent(wheel);
    EXPECT_EQ(control->GetZoom(), 0);
}

// In front of the window, every command it is sent and every button click
// fails as raise says.
TEST_F(MainFrameTest, FailuresOfACommandAreReportedByWhereTheCommandCameFrom) {
    std::function<void()> raise;
    wxEvtHandler failing;
    failing.Bind(wxEVT_MENU, [&](wxCommandEvent&) { raise(); });
    failing.Bind(wxEVT_BUTTON, [&](wxCommandEvent&) { raise(); });
    Frame().PushEventHandler(&failing);
    // Where a command comes from, and the text of a failure there that has
    // no text of its own.
    const std::tuple<const char*, std::function<void()>, const char*> origins[] = {
        {"menu", [] { Frame().GetMenuBar()->GetMenu(2)->SendEvent(ID_HISTORY); }, "Command failed."},
        {"accelerator", [] { PressKey(Frame(), 'H', wxMOD_CONTROL); }, "Command failed."},
        {"tool bar", [] { Frame().GetToolBar()->OnLeftClick(ID_HISTORY, false); }, "Internal application error."},
        {"dialog button",
         [] {
             wxCommandEvent click(wxEVT_BUTTON, wxID_OK);
             Frame().GetEventHandler()->SafelyProcessEvent(click);
         },
         "Internal application error."},
    };
    for (const auto& [origin, send, generic] : origins) {
        // A failure, the text that reports it and the icon.
        const std::tuple<std::function<void()>, std::string, long> cases[] = {
            {[] { throw CException("/tmp/x.sql was not found."); }, "/tmp/x.sql was not found.", wxICON_ERROR},
            {[] { throw CException(""); }, generic, wxICON_ERROR},
            {[] { throw std::bad_alloc(); }, "Out of memory.", wxICON_EXCLAMATION | wxSTAY_ON_TOP},
            {[] { throw std::logic_error("internal"); }, generic, wxICON_ERROR},
            {[] { throw 42; }, generic, wxICON_ERROR},
        };
        for (const auto& [failure, text, icon] : cases) {
            SCOPED_TRACE(std::string(origin) + ": " + text);
            raise = failure;
            send();
            const MessageBox box = TakeOneMessageBox();
            EXPECT_EQ(box.text, text);
            EXPECT_EQ(box.style & (wxICON_MASK | wxSTAY_ON_TOP), icon);
        }
    }
    Frame().PopEventHandler();
    EXPECT_TRUE(Frame().IsShown());
}

// Presses and releases keys on the display (xdotool key syntax), and lets
// the window see them.
void KeysOnDisplay(const std::string& keys) {
    EXPECT_EQ(std::system(("xdotool " + keys).c_str()), 0) << keys;
    gui_env::Settle();
}

TEST_F(MainFrameTest, KeyIndicatorsFollowTheLockKeysAtIdleTime) {
    if (std::system("command -v xdotool > /dev/null 2>&1") != 0) GTEST_SKIP() << "xdotool is not installed";
    for (const auto& [key, code, field, text] :
         {std::tuple{"Caps_Lock", WXK_CAPITAL, 1, "CAP"}, std::tuple{"Num_Lock", WXK_NUMLOCK, 2, "NUM"}}) {
        SCOPED_TRACE(text);
        const bool wasOn = IsLockKeyOn(code);
        EXPECT_EQ(StatusOf(Frame(), field), wasOn ? text : "");
        for (const bool on : {!wasOn, wasOn}) {
            KeysOnDisplay(std::string("key ") + key);
            EXPECT_EQ(IsLockKeyOn(code), on);
            EXPECT_EQ(StatusOf(Frame(), field), on ? text : "");
        }
    }
    // Holding Scroll Lock down is not its lock: the field follows the light.
    const bool scrollLock = IsLockKeyOn(WXK_SCROLL);
    KeysOnDisplay("keydown Scroll_Lock");
    EXPECT_EQ(StatusOf(Frame(), 3), scrollLock ? "SCRL" : "");
    KeysOnDisplay("keyup Scroll_Lock");
}

TEST_F(MainFrameTest, AboutBoxShowsTheVersion) {
    wxString text;
    ASSERT_TRUE(WithModalDialog(
        [&](wxDialog& dialog) {
            EXPECT_EQ(dialog.GetTitle(), "About Tarnwell");
            if (auto* control = dynamic_cast<wxTextCtrl*>(dialog.FindWindow(CAboutDlg::IDC_TEXT)))
                text = control->GetValue();
        },
        [] { Frame().RunCommand(wxID_ABOUT); }));
    EXPECT_TRUE(text.StartsWith("Tarnwell, version 0.6.1\n")) << text;
}

}  // namespace
