#include "app_test_env.h"
#include "second_window.h"

#include "app/about_dlg.h"
#include "app/command_ids.h"
#include "app/doc_manager.h"
#include "app/file_drop_target.h"
#include "app/lock_key_state.h"
#include "app/main_frame.h"
#include "app/menu_shortcut_text.h"
#include "app/pane_font.h"
#include "app/recent_file_list.h"
#include "app/tarnwell_app.h"
#include "app/tool_bar_images.h"
#include "app/ui_text.h"
#include "common/exception.h"
#include "panes/output_pane.h"
#include "panes/script_pane.h"
#include "script/script.h"
#include "settings/profile_store.h"
#include "support/gui_env.h"
#include "support/test_env.h"

#include <gtest/gtest.h>
#include <wx/accel.h>
#include <wx/clipbrd.h>
#include <wx/dcclient.h>
#include <wx/dataobj.h>
#include <wx/filename.h>
#include <wx/image.h>
#include <wx/log.h>
#include <wx/menu.h>
#include <wx/mstream.h>
#include "app/row_splitter.h"
#include <wx/stc/stc.h>
#include <wx/statusbr.h>
#include <wx/textctrl.h>
#include <wx/toolbar.h>
#include <wx/toplevel.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <new>
#include <stdexcept>

using namespace app_test;

namespace {

std::string Title() { return FromUiString(Frame().GetTitle()); }

class MainFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetScript("");
        Frame().RunCommand(wxID_NEW);
        Frame().ScriptPane()->Activate(true);
        gui_env::Settle();
        TakeMessageBoxes();
    }
    void TearDown() override { Frame().Script()->Modify(false); }
};

TEST_F(MainFrameTest, TitleNamesDocumentApplicationAndConnection) {
    EXPECT_EQ(Title(), "untitled - Tarnwell - not connected");
}

TEST_F(MainFrameTest, OpenAndNewRetitleTheWindow) {
    for (const char* name : {"my-script.sql", "a-b-c.sql", "plain.sql"}) {
        const std::string path = WriteTempFile(name, "select 1;\r\n");
        ASSERT_EQ(App().GetDocManager()->OpenScript(ToUiString(path)), CDocManager::OpenResult::Opened);
        EXPECT_EQ(Title(), std::string(name) + " - Tarnwell - not connected");
        EXPECT_EQ(ScriptText(), "select 1;\r\n");
        EXPECT_FALSE(Frame().Script()->IsModified());
    }
    EXPECT_TRUE(Frame().RunCommand(wxID_NEW));
    EXPECT_EQ(Title(), "untitled - Tarnwell - not connected");
    EXPECT_EQ(ScriptText(), "");
}

TEST_F(MainFrameTest, SaveAsRetitlesTheWindow) {
    SetScript("select 2;");
    const std::string path = test_env::TempDir() + "/saved-as-copy.sql";
    ASSERT_TRUE(ChooseFile(path, [] { Frame().RunCommand(wxID_SAVEAS); }));
    EXPECT_EQ(Title(), "saved-as-copy.sql - Tarnwell - not connected");
    EXPECT_TRUE(wxFileName::FileExists(ToUiString(path)));
}

TEST_F(MainFrameTest, OpeningAMissingFileReportsItAndKeepsTheScript) {
    SetScript("keep me");
    const std::string missing = test_env::TempDir() + "/no-such-folder/missing.sql";
    EXPECT_EQ(App().GetDocManager()->OpenScript(ToUiString(missing)), CDocManager::OpenResult::Failed);
    const auto boxes = TakeMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, missing + " was not found.");
    EXPECT_EQ(boxes[0].caption, "Tarnwell");
    EXPECT_TRUE(boxes[0].style & wxICON_ERROR);
    EXPECT_EQ(ScriptText(), "keep me");
    EXPECT_EQ(Title(), "untitled - Tarnwell - not connected");
}

TEST_F(MainFrameTest, DroppedFileIsOpened) {
    const std::string path = WriteTempFile("dropped.sql", "select 3;");
    auto* target = dynamic_cast<wxFileDropTarget*>(Frame().GetDropTarget());
    ASSERT_NE(target, nullptr);
    wxArrayString files;
    files.Add(ToUiString(path));
    EXPECT_TRUE(target->OnDropFiles(5, 5, files));
    gui_env::Settle();
    EXPECT_EQ(Title(), "dropped.sql - Tarnwell - not connected");
    EXPECT_EQ(ScriptText(), "select 3;");
}

TEST_F(MainFrameTest, SplitterGivesTheOutputPaneHalfOfHeightLessOneHundred) {
    EXPECT_EQ(CMainFrame::InitialOutputHeight(100), 0);
    EXPECT_EQ(CMainFrame::InitialOutputHeight(301), 100);
    EXPECT_EQ(CMainFrame::InitialOutputHeight(40), 0);
    for (const auto& [outerHeight, rowHeight] : {std::pair{100, 0}, std::pair{301, 100}, std::pair{600, 250}}) {
        CMemoryProfileStore store;
        CSecondWindow window(store, wxSize(500, outerHeight));
        ASSERT_TRUE(window.Attached());
        wxSplitterWindow* splitter = window->Splitter();
        EXPECT_EQ(splitter->GetSplitMode(), wxSPLIT_HORIZONTAL);
        EXPECT_EQ(splitter->GetWindow1(), window->OutputPane()->GetControl());
        EXPECT_EQ(splitter->GetWindow2(), window->ScriptPane()->GetControl());
        EXPECT_EQ(window->ScriptPane()->GetDocumentManager()->GetCurrentView(), window->ScriptPane());
        EXPECT_EQ(splitter->GetSashPosition(), rowHeight) << "outer height " << outerHeight;
        EXPECT_EQ(window->OutputPane()->GetControl()->GetSize().y, rowHeight) << "outer height " << outerHeight;
        // The upper row keeps its height when the window grows.
        window->SetSize(wxSize(500, outerHeight + 200));
        gui_env::Settle();
        EXPECT_EQ(splitter->GetSashPosition(), rowHeight) << "outer height " << outerHeight;
        EXPECT_TRUE(splitter->IsSplit());
    }
}

TEST_F(MainFrameTest, SettingsAreLoadedAtCreationAndSavedAtDestruction) {
    CMemoryProfileStore store;
    store.WriteProfileInt("Settings", "MaxColLen", 40);
    {
        CSecondWindow window(store, wxSize(500, 400));
        EXPECT_EQ(window->Settings().MaxColLen, 40);
        EXPECT_EQ(window->Settings().DefColLen, 10);
        EXPECT_GT(window->OutputPane()->GetCharWidth(), 0);
        EXPECT_EQ(window->ScriptPane()->GetCharWidth(), 0);
        window->Settings().DefColLen = 12;
    }
    EXPECT_EQ(store.m_values["Settings/DefColLen"], "12");
    EXPECT_EQ(store.m_values["Settings/MaxColLen"], "40");
    EXPECT_EQ(store.m_values["Settings/FontSize"], "-15");
    EXPECT_EQ(store.m_values["Settings/FontName"], "Courier New");
}

TEST_F(MainFrameTest, PaneFontLeavesTheModifiedFlagAndSelectionAlone) {
    SetScript("select 1 from dual");
    for (const bool modified : {false, true}) {
        Frame().Script()->Modify(modified);
        Frame().ScriptPane()->SetSelection(2, 5);
        Frame().Settings().m_logFont.lfHeight = modified ? -20 : 14;
        Frame().ApplyPaneFont();
        EXPECT_EQ(Frame().Script()->IsModified(), modified);
        EXPECT_EQ(Frame().ScriptPane()->GetControl()->GetSelectionStart(), 2);
        EXPECT_EQ(Frame().ScriptPane()->GetControl()->GetSelectionEnd(), 5);
        EXPECT_FALSE(Frame().ScriptPane()->GetControl()->StyleGetBold(wxSTC_STYLE_DEFAULT));
    }
    Frame().Settings().m_logFont.lfHeight = -15;
    Frame().ApplyPaneFont();
}

TEST_F(MainFrameTest, PaneFontIsFixedPitchWithTheStoredHeight) {
    static_assert(TwipsFromCharHeight(-15, 96) == 225);
    static_assert(TwipsFromCharHeight(-15, 120) == 180);
    static_assert(TwipsFromCharHeight(-16, 120) == 192);
    static_assert(TwipsFromCharHeight(-1, 96) == 15);
    wxClientDC dc(&Frame());
    const int ppi = dc.GetPPI().y;
    for (const char* face : {"Courier New", "No Such Face 4711", ""}) {
        LOGFONT logFont;
        std::strncpy(logFont.lfFaceName, face, sizeof logFont.lfFaceName - 1);
        logFont.lfHeight = -15;
        const wxFont font = MakePaneFont(logFont, dc);
        ASSERT_TRUE(font.IsOk()) << face;
        EXPECT_TRUE(font.IsFixedWidth()) << face;
        EXPECT_EQ(font.GetWeight(), wxFONTWEIGHT_NORMAL) << face;
        EXPECT_DOUBLE_EQ(font.GetFractionalPointSize(), TwipsFromCharHeight(-15, ppi) / 20.0) << face;

        // A positive height is the height of the character cell.
        logFont.lfHeight = 24;
        dc.SetFont(MakePaneFont(logFont, dc));
        EXPECT_NEAR(dc.GetCharHeight(), 24, 1) << face;
    }
    Frame().ApplyPaneFont();
    const wxString paneFace = Frame().OutputPane()->GetControl()->StyleGetFaceName(wxSTC_STYLE_DEFAULT);
    EXPECT_TRUE(wxFont(wxFontInfo(11).FaceName(paneFace)).IsFixedWidth()) << paneFace;
}

TEST_F(MainFrameTest, EditCommandsFollowTheActivePane) {
    SetScript("select 1");
    Frame().ScriptPane()->GetControl()->AddText("x");  // something to undo
    if (wxTheClipboard->Open()) {
        wxTheClipboard->SetData(new wxTextDataObject("pasted"));
        wxTheClipboard->Close();
    }
    struct Expected {
        int id;
        bool scriptPane;
        bool outputPane;
    };
    const Expected expected[] = {
        {wxID_UNDO, true, false},      {wxID_CUT, true, false},        {wxID_PASTE, true, false},
        {wxID_COPY, true, true},       {wxID_SELECTALL, true, true},   {ID_CLEAR_OUTPUT, true, true},
        {ID_EXECUTE, true, true},      {ID_CHANGE_CONNECTION, true, true}, {wxID_NEW, true, true},
        {wxID_SAVE, true, true},       {ID_HISTORY, true, true},       {ID_OPTIONS, true, true},
        {ID_PREVIOUS_SCRIPT, false, false}, {ID_NEXT_SCRIPT, false, false}, {ID_NEXT_PANE, true, true},
    };
    for (const Expected& e : expected) EXPECT_EQ(Frame().IsCommandEnabled(e.id), e.scriptPane) << "script pane, id " << e.id;

    EXPECT_TRUE(Frame().RunCommand(ID_NEXT_PANE));  // F6: the output pane becomes active
    EXPECT_EQ(App().GetDocManager()->GetCurrentView(), Frame().OutputPane());
    for (const Expected& e : expected) EXPECT_EQ(Frame().IsCommandEnabled(e.id), e.outputPane) << "output pane, id " << e.id;
    EXPECT_FALSE(Frame().RunCommand(wxID_PASTE));
    EXPECT_FALSE(Frame().RunCommand(wxID_CUT));
    EXPECT_EQ(ScriptText(), "xselect 1");

    EXPECT_TRUE(Frame().RunCommand(ID_NEXT_PANE));  // and back
    EXPECT_EQ(App().GetDocManager()->GetCurrentView(), Frame().ScriptPane());
}

// One accelerator as a key press: the command it runs.
struct KeyCase {
    int modifiers;
    int key;
    int command;
};

const KeyCase kKeys[] = {
    {wxMOD_CONTROL, 'D', ID_CHANGE_CONNECTION}, {wxMOD_CONTROL, 'N', wxID_NEW},
    {wxMOD_CONTROL, 'O', wxID_OPEN},            {wxMOD_CONTROL, 'S', wxID_SAVE},
    {wxMOD_CONTROL, 'Z', wxID_UNDO},            {wxMOD_ALT, WXK_BACK, wxID_UNDO},
    {wxMOD_CONTROL, 'X', wxID_CUT},             {wxMOD_SHIFT, WXK_DELETE, wxID_CUT},
    {wxMOD_CONTROL, 'C', wxID_COPY},            {wxMOD_CONTROL, WXK_INSERT, wxID_COPY},
    {wxMOD_CONTROL, 'V', wxID_PASTE},           {wxMOD_SHIFT, WXK_INSERT, wxID_PASTE},
    {wxMOD_CONTROL, 'A', wxID_SELECTALL},       {wxMOD_CONTROL, 'F', wxID_FIND},
    {wxMOD_NONE, WXK_F3, ID_FIND_NEXT},         {wxMOD_CONTROL, 'R', wxID_REPLACE},
    {wxMOD_CONTROL, WXK_RETURN, ID_EXECUTE},    {wxMOD_CONTROL, WXK_NUMPAD_ENTER, ID_EXECUTE},
    {wxMOD_ALT, WXK_LEFT, ID_PREVIOUS_SCRIPT},  {wxMOD_ALT, WXK_RIGHT, ID_NEXT_SCRIPT},
    {wxMOD_CONTROL, 'H', ID_HISTORY},           {wxMOD_NONE, WXK_F6, ID_NEXT_PANE},
    {wxMOD_NONE, 'D', 0},                       {wxMOD_CONTROL | wxMOD_SHIFT, 'D', 0},
    {wxMOD_ALT, 'D', 0},                        {wxMOD_NONE, WXK_RETURN, 0},
};

// Stands in front of the frame's own handlers: every command is enabled and
// only recorded.
class CCommandRecorder : public wxEvtHandler {
public:
    bool ProcessEvent(wxEvent& event) override {
        if (event.GetEventType() == wxEVT_UPDATE_UI) {
            static_cast<wxUpdateUIEvent&>(event).Enable(true);
            return true;
        }
        if (event.GetEventType() == wxEVT_MENU) {
            m_command = event.GetId();
            return true;
        }
        return wxEvtHandler::ProcessEvent(event);
    }
    int m_command = 0;
};

TEST_F(MainFrameTest, EveryAcceleratorReachesItsCommand) {
    CCommandRecorder recorder;
    Frame().PushEventHandler(&recorder);
    for (const KeyCase& k : kKeys) {
        recorder.m_command = 0;
        wxKeyEvent key(wxEVT_CHAR_HOOK);
        key.m_keyCode = k.key;
        key.m_controlDown = (k.modifiers & wxMOD_CONTROL) != 0;
        key.m_altDown = (k.modifiers & wxMOD_ALT) != 0;
        key.m_shiftDown = (k.modifiers & wxMOD_SHIFT) != 0;
        key.SetEventObject(&Frame());
        Frame().GetEventHandler()->ProcessEvent(key);
        EXPECT_EQ(recorder.m_command, k.command) << "key " << k.key << " modifiers " << k.modifiers;
    }
    Frame().PopEventHandler();
}

TEST_F(MainFrameTest, KeysOfADisabledCommandDoNothing) {
    SetScript("abc");
    wxKeyEvent key(wxEVT_CHAR_HOOK);
    key.m_keyCode = 'X';
    key.m_controlDown = true;
    key.SetEventObject(&Frame());
    Frame().RunCommand(ID_NEXT_PANE);  // the output pane is active: Cut is disabled
    Frame().ScriptPane()->SetSelection(0, -1);
    Frame().GetEventHandler()->ProcessEvent(key);
    EXPECT_EQ(ScriptText(), "abc");
    Frame().RunCommand(ID_NEXT_PANE);
    Frame().ScriptPane()->SetSelection(0, -1);
    Frame().GetEventHandler()->ProcessEvent(key);  // now Cut runs
    EXPECT_EQ(ScriptText(), "");
    wxTheClipboard->Clear();  // the cut text is the clipboard's until then
}

// The menus as the user sees them; "-" is a separator.
const std::vector<std::vector<std::string>> kMenus = {
    {"Change &Connection...\tCtrl+D", "-", "&New\tCtrl+N", "&Open...\tCtrl+O", "&Save\tCtrl+S", "Save &As...", "-",
     "Save Out&put...", "-", "Recent File", "-", "E&xit"},
    {"&Undo\tCtrl+Z", "-", "Cu&t\tCtrl+X", "&Copy\tCtrl+C", "&Paste\tCtrl+V", "Select &All\tCtrl+A", "-",
     "&Find...\tCtrl+F", "Find &Next\tF3", "&Replace...\tCtrl+R", "-", "C&lear Output", "&Options..."},
    {"&Execute\tCtrl+Enter", "-", "&Previous script\tAlt+LeftArrow", "&Next script\tAlt+RighArrow",
     "&History...\tCtrl+H"},
    {"&About Tarnwell..."},
};

TEST_F(MainFrameTest, MenusHoldTheirEntriesInOrder) {
    wxMenuBar* bar = Frame().GetMenuBar();
    ASSERT_EQ(bar->GetMenuCount(), 4u);
    const char* titles[] = {"&File", "&Edit", "&Commands", "&Help"};
    for (size_t m = 0; m < 4; ++m) {
        EXPECT_EQ(bar->GetMenuLabel(m), titles[m]);
        std::vector<std::string> entries;
        for (const wxMenuItem* item : bar->GetMenu(m)->GetMenuItems()) {
            // The recent-file entries (or their placeholder) count as one.
            const bool recent = item->GetId() >= wxID_FILE1 && item->GetId() < wxID_FILE1 + CRecentFileList::kMaxFiles;
            if (recent && !entries.empty() && entries.back() == "Recent File") continue;
            if (item->IsSeparator() || recent) {
                entries.push_back(recent ? "Recent File" : "-");
                continue;
            }
            // The label, and the shortcut text as the entry shows it.
            const std::string shortcut = FromUiString(MenuShortcutText(*item));
            entries.push_back(FromUiString(item->GetItemLabel()) + (shortcut.empty() ? "" : "\t" + shortcut));
            // The keys are the window's own: no entry has a key of the toolkit
            // (which would give Exit a Ctrl+Q).
            EXPECT_EQ(MenuToolkitAcceleratorCount(*item), 0) << entries.back();
        }
        EXPECT_EQ(entries, kMenus[m]) << titles[m];
    }
    EXPECT_EQ(bar->FindItem(ID_EXECUTE)->GetHelp(), "Execute SQL statement(s) in script pane");
    EXPECT_EQ(bar->FindItem(ID_OPTIONS)->GetHelp(), "Modify preferences");
}

TEST_F(MainFrameTest, ToolBarHoldsFourteenButtonsAndTwoGaps) {
    const int expected[] = {wxID_NEW,  wxID_OPEN,    wxID_SAVE,      ID_SAVE_OUTPUT, wxID_SEPARATOR, wxID_CUT,
                            wxID_COPY, wxID_PASTE,   wxID_FIND,      ID_FIND_NEXT,   ID_CLEAR_OUTPUT, wxID_SEPARATOR,
                            ID_EXECUTE, ID_PREVIOUS_SCRIPT, ID_NEXT_SCRIPT, ID_HISTORY};
    wxToolBar* bar = Frame().GetToolBar();
    ASSERT_EQ(bar->GetToolsCount(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        const wxToolBarToolBase* tool = bar->GetToolByPos(static_cast<int>(i));
        if (expected[i] == wxID_SEPARATOR) {
            EXPECT_TRUE(tool->IsSeparator()) << i;
            continue;
        }
        EXPECT_EQ(tool->GetId(), expected[i]) << i;
        EXPECT_TRUE(tool->GetNormalBitmap().IsOk()) << i;
        EXPECT_EQ(tool->GetNormalBitmap().GetHeight(), 16) << i;
        EXPECT_FALSE(tool->GetShortHelp().empty()) << i;
    }
    EXPECT_EQ(bar->GetToolShortHelp(ID_EXECUTE), "Execute script");
    EXPECT_EQ(bar->GetToolLongHelp(ID_EXECUTE), "Execute SQL statement(s) in script pane");
    EXPECT_EQ(bar->GetToolShortHelp(ID_NEXT_SCRIPT), "Next script");
}

TEST_F(MainFrameTest, StatusBarShowsReadyAndThreeKeyFields) {
    wxStatusBar* bar = Frame().GetStatusBar();
    ASSERT_EQ(bar->GetFieldsCount(), 4);
    EXPECT_EQ(bar->GetStatusText(0), "Ready");
    for (int field = 1; field < 4; ++field) {
        const wxString text = bar->GetStatusText(field);
        EXPECT_TRUE(text.empty() || text == "CAP" || text == "NUM" || text == "SCRL") << text;
    }
}

TEST_F(MainFrameTest, ClearOutputEmptiesTheOutputPane) {
    Frame().OutputPane()->AppendText("some output\r\n");
    EXPECT_TRUE(Frame().RunCommand(ID_CLEAR_OUTPUT));
    EXPECT_EQ(OutputText(), "");
}

// Stands in front of the frame: every command it is sent, and every button
// click, fails as raise says.
class CFailingHandler : public wxEvtHandler {
public:
    CFailingHandler() {
        Bind(wxEVT_MENU, [this](wxCommandEvent&) { m_raise(); });
        Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { m_raise(); });
    }
    std::function<void()> m_raise;
};

TEST_F(MainFrameTest, FailuresOfACommandAreReportedByWhereTheCommandCameFrom) {
    CFailingHandler failing;
    Frame().PushEventHandler(&failing);
    const std::map<std::string, std::function<void()>> origins = {
        {"menu", [] { Frame().GetMenuBar()->GetMenu(2)->SendEvent(ID_HISTORY); }},
        {"accelerator",
         [] {
             wxKeyEvent key(wxEVT_CHAR_HOOK);
             key.m_keyCode = 'H';
             key.m_controlDown = true;
             key.SetEventObject(&Frame());
             Frame().GetEventHandler()->ProcessEvent(key);
         }},
        {"tool bar", [] { Frame().GetToolBar()->OnLeftClick(ID_HISTORY, false); }},
        {"dialog button",
         [] {
             wxCommandEvent click(wxEVT_BUTTON, wxID_OK);
             Frame().GetEventHandler()->SafelyProcessEvent(click);
         }},
    };
    struct Case {
        std::function<void()> raise;
        std::string text;
        long style;
    };
    const std::map<std::string, std::string> generic = {{"menu", "Command failed."},
                                                        {"accelerator", "Command failed."},
                                                        {"tool bar", "Internal application error."},
                                                        {"dialog button", "Internal application error."}};
    for (const auto& [origin, send] : origins) {
        const Case cases[] = {
            {[] { throw CException("/tmp/x.sql was not found."); }, "/tmp/x.sql was not found.", wxICON_ERROR},
            {[] { throw std::bad_alloc(); }, "Out of memory.", wxICON_EXCLAMATION | wxSTAY_ON_TOP},
            {[] { throw std::logic_error("internal"); }, generic.at(origin), wxICON_ERROR},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(origin + ": " + c.text);
            failing.m_raise = c.raise;
            send();
            const auto boxes = TakeMessageBoxes();
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes[0].text, c.text);
            EXPECT_EQ(boxes[0].caption, "Tarnwell");
            EXPECT_EQ(boxes[0].style & (wxICON_MASK | wxSTAY_ON_TOP), c.style);
        }
    }
    Frame().PopEventHandler();
    EXPECT_TRUE(Frame().IsShown());
}

bool HaveXdotool() { return std::system("command -v xdotool > /dev/null 2>&1") == 0; }

// Presses and releases keys on the display (xdotool key syntax).
void KeysOnDisplay(const std::string& keys) { ASSERT_EQ(std::system(("xdotool " + keys).c_str()), 0) << keys; }

std::string StatusField(int field) { return FromUiString(Frame().GetStatusBar()->GetStatusText(field)); }

TEST_F(MainFrameTest, KeyIndicatorsFollowTheLockKeysAtIdleTime) {
    if (!HaveXdotool()) GTEST_SKIP() << "xdotool is not installed";
    struct Case {
        const char* key;
        wxKeyCode code;
        int field;
        const char* text;
    };
    for (const Case& c : {Case{"Caps_Lock", WXK_CAPITAL, 1, "CAP"}, Case{"Num_Lock", WXK_NUMLOCK, 2, "NUM"}}) {
        SCOPED_TRACE(c.text);
        gui_env::Settle();
        const bool wasOn = IsLockKeyOn(c.code);
        EXPECT_EQ(StatusField(c.field), wasOn ? c.text : "");
        for (const bool on : {!wasOn, wasOn}) {
            KeysOnDisplay(std::string("key ") + c.key);
            EXPECT_EQ(IsLockKeyOn(c.code), on);
            gui_env::Settle();
            EXPECT_EQ(StatusField(c.field), on ? c.text : "");
        }
    }
    // Holding Scroll Lock down is not its lock: the field follows the light.
    const bool scrollLock = IsLockKeyOn(WXK_SCROLL);
    KeysOnDisplay("keydown Scroll_Lock");
    gui_env::Settle();
    EXPECT_EQ(StatusField(3), scrollLock ? "SCRL" : "");
    KeysOnDisplay("keyup Scroll_Lock");
    gui_env::Settle();
}

TEST_F(MainFrameTest, ProgramIconIsDrawnAsPngForTheDesktop) {
    for (const int size : {16, 32}) {
        const std::string png = AppIconPng(size);
        ASSERT_GT(png.size(), 8u) << size;
        EXPECT_EQ(png.substr(1, 3), "PNG") << size;
        wxMemoryInputStream in(png.data(), png.size());
        const wxImage image(in, wxBITMAP_TYPE_PNG);
        ASSERT_TRUE(image.IsOk()) << size;
        EXPECT_EQ(image.GetWidth(), size);
        EXPECT_EQ(image.GetHeight(), size);
    }
    EXPECT_EQ(AppIconPng(24), "");
}

TEST_F(MainFrameTest, OptionsOpensThePreferencesAndCancelKeepsTheSettings) {
    const CSettingsRecord before = Frame().Settings();
    wxString caption;
    const bool driven = WithModalDialog(
        [&](wxDialog& dialog) {
            caption = dialog.GetTitle();
            gui_env::Click(dialog.FindWindow(wxID_CANCEL));
        },
        [] { EXPECT_TRUE(Frame().RunCommand(ID_OPTIONS)); });
    ASSERT_TRUE(driven);
    EXPECT_EQ(caption, "Options");
    EXPECT_EQ(Frame().Settings().m_logFont, before.m_logFont);
    EXPECT_EQ(Frame().Settings().MaxColLen, before.MaxColLen);
}

TEST_F(MainFrameTest, AboutBoxShowsVersionAndSevenLines) {
    wxString caption;
    wxString text;
    const bool driven = WithModalDialog(
        [&](wxDialog& dialog) {
            caption = dialog.GetTitle();
            if (auto* control = dynamic_cast<wxTextCtrl*>(dialog.FindWindow(CAboutDlg::IDC_TEXT)))
                text = control->GetValue();
            gui_env::Click(dialog.FindWindow(wxID_OK));
        },
        [] { Frame().RunCommand(wxID_ABOUT); });
    ASSERT_TRUE(driven);
    EXPECT_EQ(caption, "About Tarnwell");
    EXPECT_TRUE(text.StartsWith("Tarnwell, version 0.6.1\n")) << text;
    EXPECT_EQ(text.Freq('\n'), 7);
    EXPECT_TRUE(text.EndsWith("\n"));
}

}  // namespace
