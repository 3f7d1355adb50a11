#include "app_test_env.h"

#include "app/tarnwell_app.h"
#include "db/connect_dlg.h"

#include <wx/dialog.h>
#include <wx/filedlg.h>
#include <wx/modalhook.h>
#include <wx/statusbr.h>
#include <wx/textentry.h>
#include <wx/timer.h>

#include <cstdlib>
#include <utility>

namespace {

std::vector<app_test::MessageBox>& Boxes() {
    static std::vector<app_test::MessageBox> boxes;
    return boxes;
}

// Every modal dialog of the program passes here before it is shown. A test
// lets one show and drives it; any other dialog, also one that comes after
// the driven one ended, is refused (as if cancelled) and recorded, so no test
// ever waits for a human.
class CDialogHook : public wxModalDialogHook {
public:
    bool m_bShow = false;
    wxDialog* m_pDialog = nullptr;
    std::vector<std::string> m_refused;

protected:
    int Enter(wxDialog* dialog) override {
        if (m_bShow && m_pDialog == dialog) return wxID_NONE;  // a dialog class may announce itself twice
        if (m_bShow && m_pDialog == nullptr) {                 // not one on top of the driven one
            m_pDialog = dialog;
            return wxID_NONE;
        }
        m_refused.push_back(FromUiString(dialog->GetTitle()));
        return wxID_CANCEL;
    }
    void Exit(wxDialog* dialog) override {
        if (dialog == m_pDialog) m_bShow = false;
    }
};

// What a recorded question answers (0: No, or Cancel where it is offered).
int& QuestionAnswer() {
    static int answer = 0;
    return answer;
}

CDialogHook& Hook() {
    static CDialogHook hook;
    return hook;
}

// The test program's application is the worksheet itself, started as the
// program starts but without the Connect dialog, with message boxes recorded
// (each must carry the program's caption) and every modal dialog passing the
// hook above.
[[maybe_unused]] const bool s_bAppFactory = [] {
    gui_env::SetAppFactory([] {
        setenv("TARNWELL_NO_CONNECT_DIALOG", "1", 1);
        SetMessageBoxHandler([](const wxString& text, const wxString& caption, long style, wxWindow*) {
            EXPECT_EQ(FromUiString(caption), "Tarnwell") << FromUiString(text);
            Boxes().push_back({FromUiString(text), style});
            if (!(style & (wxYES_NO | wxCANCEL))) return wxOK;
            return QuestionAnswer() != 0 ? QuestionAnswer() : (style & wxCANCEL) ? wxCANCEL : wxNO;
        });
        Hook().Register();
        return new CTarnwellApp;
    });
    return true;
}();

}  // namespace

namespace app_test {

CTarnwellApp& App() { return *static_cast<CTarnwellApp*>(wxTheApp); }

CMainFrame& Frame() { return *App().GetMainFrame(); }

std::vector<MessageBox> TakeMessageBoxes() { return std::exchange(Boxes(), {}); }

MessageBox TakeOneMessageBox(long style) {
    const std::vector<MessageBox> boxes = TakeMessageBoxes();
    EXPECT_EQ(boxes.size(), 1u);
    if (boxes.size() != 1) return {};
    EXPECT_EQ(boxes[0].style & style, style) << boxes[0].text;
    return boxes[0];
}

bool WithModalDialog(const std::function<void(wxDialog&)>& drive, const std::function<void()>& open) {
    // The hook names the dialog as it is about to be shown; a timer (timers
    // run inside the modal loop) then drives it, for at most ten seconds.
    CDialogHook& hook = Hook();
    hook.m_bShow = true;
    hook.m_pDialog = nullptr;
    bool driven = false;
    int ticks = 0;
    wxTimer timer;
    timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        wxDialog* dialog = hook.m_pDialog;
        if (dialog == nullptr || !dialog->IsModal()) {
            if (++ticks > 500) timer.Stop();
            return;
        }
        timer.Stop();
        driven = true;
        drive(*dialog);
        if (dialog->IsModal()) dialog->EndModal(wxID_CANCEL);
    });
    timer.Start(20);
    open();
    timer.Stop();
    hook.m_bShow = false;
    hook.m_pDialog = nullptr;
    return driven;
}

std::string ConnectWindow(CMainFrame& window, const std::string& dataSource, const std::string& userName,
                          const std::string& password, int button) {
    std::string shown;
    EXPECT_TRUE(WithModalDialog(
        [&](wxDialog& dialog) {
            EXPECT_EQ(dialog.GetTitle(), "Connect");
            for (const auto& [id, typed] : {std::pair{+CConnectDlg::IDC_DATASOURCE, &dataSource},
                                            std::pair{+CConnectDlg::IDC_USERNAME, &userName},
                                            std::pair{+CConnectDlg::IDC_PASSWORD, &password}}) {
                auto* field = dynamic_cast<wxTextEntry*>(dialog.FindWindow(id));
                ASSERT_NE(field, nullptr);
                shown += (id == CConnectDlg::IDC_DATASOURCE ? "" : "/") + FromUiString(field->GetValue());
                field->ChangeValue(ToUiString(*typed));
            }
            EXPECT_TRUE(dialog.FindWindow(CConnectDlg::IDC_PASSWORD)->HasFlag(wxTE_PASSWORD));
            gui_env::Click(dialog.FindWindow(button));
        },
        [&] { PressKey(window, 'D', wxMOD_CONTROL); }));
    return shown;
}

void Connect(CMainFrame& window, const std::string& dsn) { window.Connection().Connect(dsn, "", ""); }

void ConnectPostgres(CMainFrame& window, const std::string& dsn) {
    window.Connection().Connect(dsn, test_env::PgUser(), test_env::PgPassword());
}

std::vector<std::string> TakeRefusedDialogs() { return std::exchange(Hook().m_refused, {}); }

std::string ChooseFile(const std::string& path, const std::function<void()>& open) {
    std::string shown;
    WithModalDialog(
        [&](wxDialog& dialog) {
            auto* files = dynamic_cast<wxFileDialog*>(&dialog);
            ASSERT_NE(files, nullptr) << "not a file dialog";
            shown = FromUiString(files->GetFilename() + "|" + files->GetWildcard()) + "|" +
                    std::to_string(files->GetFilterIndex());
            files->SetPath(ToUiString(path));
            // The chooser takes the folder over in the background.
            gui_env::WaitUntil([files] { return !files->GetPath().empty(); }, 10000);
            dialog.EndModal(wxID_OK);
        },
        open);
    return shown;
}

void PressKey(CMainFrame& window, int keyCode, int modifiers) {
    wxKeyEvent key(wxEVT_CHAR_HOOK);
    key.m_keyCode = keyCode;
    key.m_controlDown = (modifiers & wxMOD_CONTROL) != 0;
    key.m_altDown = (modifiers & wxMOD_ALT) != 0;
    key.m_shiftDown = (modifiers & wxMOD_SHIFT) != 0;
    key.SetEventObject(&window);
    window.GetEventHandler()->ProcessEvent(key);
    gui_env::Settle();
}

std::string WriteTempFile(const std::string& name, const std::string& bytes) {
    return test_env::WriteFile(test_env::TempPath(name), bytes);
}

std::string ScriptText() { return Frame().ScriptPane()->GetText(); }

void SetScript(const std::string& text) {
    Frame().ScriptPane()->SetText(std::string_view(text), false);
    Frame().Script()->Modify(false);
}

std::string TitleOf(CMainFrame& window) { return FromUiString(window.GetTitle()); }
std::string OutputOf(CMainFrame& window) { return window.OutputPane()->GetText(); }
std::string StatusOf(CMainFrame& window, int field) {
    return FromUiString(window.GetStatusBar()->GetStatusText(field));
}

std::pair<int, int> SelectionOf(CPane* pane) {
    return {pane->GetControl()->GetSelectionStart(), pane->GetControl()->GetSelectionEnd()};
}

void AnswerYesNo(int answer) { QuestionAnswer() = answer; }

void WindowTest::SetUp() {
    AnswerYesNo(0);
    TakeMessageBoxes();
    TakeRefusedDialogs();
}

void WindowTest::TearDown() {
    EXPECT_EQ(TakeRefusedDialogs(), std::vector<std::string>()) << "a dialog came up unexpectedly";
}

bool FinishRun(CMainFrame& window) {
    const bool ended = gui_env::WaitUntil([&] { return !window.IsRunning(); }, 60000);
    EXPECT_TRUE(ended) << "the run did not end";
    return ended;
}

void RunScript(CMainFrame& window, const std::string& text) {
    window.ScriptPane()->SetText(std::string_view(text), false);
    window.RunCommand(ID_EXECUTE);
    FinishRun(window);
}

}  // namespace app_test
