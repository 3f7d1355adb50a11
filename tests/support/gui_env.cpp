#include "support/gui_env.h"

#include "settings/simple_combo_box.h"

#include <gtest/gtest.h>

#include <wx/app.h>
#include <wx/clipbrd.h>
#include <wx/init.h>
#include <wx/listbox.h>
#include <wx/log.h>
#include <wx/msgdlg.h>
#include <wx/utils.h>
#include <wx/window.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <thread>

namespace gui_env {
namespace {

std::function<wxApp*()>& AppFactory() {
    static std::function<wxApp*()> factory = [] { return new wxApp; };
    return factory;
}

void FailOnAssert(const wxString& file, int line, const wxString& func, const wxString& cond, const wxString& msg) {
    ADD_FAILURE() << "wxWidgets assertion failed in " << func.utf8_str() << " (" << file.utf8_str() << ":" << line
                  << "): " << cond.utf8_str() << " " << msg.utf8_str();
}

class Environment : public ::testing::Environment {
public:
    void SetUp() override {
        // No accessibility bus under Xvfb: it only leaves D-Bus state behind.
        setenv("NO_AT_BRIDGE", "1", 1);
        wxApp::SetInstance(AppFactory()());
        static char name[] = "tarnwell-gui-test";
        static char* argv[] = {name, nullptr};
        int argc = 1;
        if (!wxEntryStart(argc, argv)) {
            GTEST_FAIL() << "wxWidgets could not start: is there a display? Run under xvfb-run -a.";
        }
        m_bStarted = true;
        wxSetAssertHandler(FailOnAssert);
        delete wxLog::SetActiveTarget(new wxLogStderr);
        ASSERT_TRUE(wxTheApp->CallOnInit()) << "the application's OnInit failed";
    }

    void TearDown() override {
        if (!m_bStarted) return;
        Pump();
        // A selection in a text control is offered as the primary selection;
        // give that data back before the toolkit goes.
        if (wxTheClipboard->Open()) {
            wxTheClipboard->UsePrimarySelection(true);
            wxTheClipboard->Clear();
            wxTheClipboard->Close();
        }
        wxTheApp->OnExit();
        wxEntryCleanup();
    }

private:
    bool m_bStarted = false;
};

[[maybe_unused]] ::testing::Environment* const s_pEnvironment =
    ::testing::AddGlobalTestEnvironment(new Environment);

}  // namespace

void SetAppFactory(std::function<wxApp*()> factory) { AppFactory() = std::move(factory); }

void Pump() {
    // Twice: handling events may post more, and idle handlers run last.
    for (int round = 0; round < 2; ++round) {
        wxTheApp->ProcessPendingEvents();
        wxTheApp->Yield(true);
    }
}

void Settle() {
    Pump();
    wxTheApp->ProcessIdle();
    Pump();
}

bool WaitUntil(const std::function<bool()>& done, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        Pump();
        if (done()) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

void Click(wxWindow* button) {
    if (button == nullptr) {
        ADD_FAILURE() << "no such button";
        return;
    }
    wxCommandEvent click(wxEVT_BUTTON, button->GetId());
    click.SetEventObject(button);
    button->GetEventHandler()->ProcessEvent(click);
}

void Notify(wxWindow& control, wxEventType type, int value) {
    wxCommandEvent event(type, control.GetId());
    event.SetEventObject(&control);
    event.SetInt(value);
    control.ProcessWindowEvent(event);
    Pump();
}

void Choose(wxListBox* list, int index) {
    list->SetSelection(index);
    Notify(*list, wxEVT_LISTBOX, index);
}

void ChooseEntry(CSimpleComboBox* box, const std::string& entry) {
    const auto& entries = box->Entries();
    const auto at = std::find(entries.begin(), entries.end(), entry);
    if (at != entries.end())
        Choose(box->List(), static_cast<int>(at - entries.begin()));
    else
        ADD_FAILURE() << "no entry " << entry;
}

ModalCapture::ModalCapture(int answer) : m_nAnswer(answer) { Register(); }

int ModalCapture::Enter(wxDialog* dialog) {
    if (const auto* box = dynamic_cast<const wxMessageDialogBase*>(dialog)) {
        m_messages.push_back(Message{box->GetCaption().utf8_string(), box->GetMessage().utf8_string(),
                                     box->GetMessageDialogStyle()});
    }
    return m_nAnswer;
}

}  // namespace gui_env
