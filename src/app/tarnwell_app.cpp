#include "app/tarnwell_app.h"

#include "app/about_dlg.h"
#include "app/command_failure.h"
#include "app/command_line.h"
#include "app/doc_manager.h"
#include "app/file_type_registration.h"
#include "app/main_frame.h"
#include "app/recent_file_list.h"
#include "app/tool_bar_images.h"
#include "app/ui_text.h"
#include "app/window_title.h"
#include "common/message_box.h"
#include "panes/script_pane.h"
#include "script/script.h"
#include "settings/file_profile_store.h"

#include <wx/confbase.h>
#include <wx/docview.h>
#include <wx/gdicmn.h>
#include <wx/toolbar.h>
#include <wx/toplevel.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

std::vector<std::string>& Arguments() {
    static std::vector<std::string> args;
    return args;
}

bool EnvironmentIs(const char* name, const char* value) {
    const char* set = std::getenv(name);
    return set != nullptr && std::strcmp(set, value) == 0;
}

// Message boxes as lines on standard error, for runs without anyone to
// answer them. Yes/No boxes answer No, or Yes with
// TARNWELL_MESSAGE_BOX_ANSWER=yes (tests of what Yes does).
int PrintMessageBox(const wxString& text, const wxString& caption, long style, wxWindow*) {
    std::fprintf(stderr, "%s: %s\n", FromUiString(caption).c_str(), FromUiString(text).c_str());
    std::fflush(stderr);
    if (style & wxCANCEL) return wxCANCEL;
    if (style & wxYES_NO) return EnvironmentIs("TARNWELL_MESSAGE_BOX_ANSWER", "yes") ? wxYES : wxNO;
    return wxOK;
}

// Menu entries and accelerator keys send command events from a menu or the
// frame; tool-bar buttons send the same events from the tool bar.
CommandOrigin OriginOf(const wxEvent& event) {
    if (event.GetEventType() != wxEVT_MENU) return CommandOrigin::Other;
    return dynamic_cast<const wxToolBarBase*>(event.GetEventObject()) != nullptr ? CommandOrigin::Other
                                                                                 : CommandOrigin::MenuOrAccelerator;
}

// Three quarters of the screen's work area, as desktops size a new main window.
wxSize DefaultFrameSize() {
    const wxRect area = wxGetClientDisplayRect();
    return wxSize(area.width * 3 / 4, area.height * 3 / 4);
}

}  // namespace

CTarnwellApp::CTarnwellApp() {
    SetAppName(wxString::FromUTF8(kAppName.data(), kAppName.size()));
    SetAppDisplayName(GetAppName());
}

CTarnwellApp::~CTarnwellApp() = default;

void CTarnwellApp::SetArguments(std::vector<std::string> args) { Arguments() = std::move(args); }

bool CTarnwellApp::OnInit() {
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { OnAppAbout(); }, wxID_ABOUT);
    if (EnvironmentIs("TARNWELL_MESSAGE_BOXES", "stderr")) SetMessageBoxHandler(PrintMessageBox);

    // (main answers --help and --version before the toolkit starts.)
    const CommandLine line = ParseCommandLine(Arguments());
    if (!line.error.empty()) {
        ShowMessageBox(ToUiString(line.error + "\n" + CommandLine::Usage()), wxOK | wxICON_ERROR);
        return false;
    }

    m_pProfileStore = std::make_unique<CFileProfileStore>();
    m_pDocManager = std::make_unique<CDocManager>();
    LoadRecentFiles();
    new wxDocTemplate(m_pDocManager.get(), "Script Files", "*.sql", wxString(), "sql", "Tarnwl", "Tarnwl",
                      wxCLASSINFO(CScript), wxCLASSINFO(CScriptPane));
    // An installed copy leaves the user's home alone: the desktop knows it
    // through its installed files.
    const std::string executable = CFileTypeRegistration::RunningExecutable();
    if (!CFileTypeRegistration::IsInstalled(executable)) {
        CFileTypeRegistration registration(CFileTypeRegistration::DefaultDataHome(), executable);
        for (const int size : AppIconSizes()) registration.AddIcon(size, AppIconPng(size));
        registration.Register();
    }

    m_pMainFrame = new CMainFrame(m_pDocManager.get(), *m_pProfileStore, DefaultFrameSize());
    SetTopWindow(m_pMainFrame);
    m_pMainFrame->Bind(wxEVT_DESTROY, [this](wxWindowDestroyEvent& event) {
        if (event.GetEventObject() == m_pMainFrame) m_pMainFrame = nullptr;
        event.Skip();
    });
    wxDocument* doc = m_pDocManager->CreateNewDocument();
    if (doc == nullptr || !m_pMainFrame->AttachDocument(dynamic_cast<CScript*>(doc))) {
        ShowMessageBox("Failed to create empty document.", wxOK | wxICON_ERROR);
        m_pMainFrame->Destroy();
        m_pMainFrame = nullptr;
        return false;
    }
    if (!line.scriptFile.empty() &&
        m_pDocManager->OpenScript(wxString(line.scriptFile.c_str(), *wxConvFileName)) != CDocManager::OpenResult::Opened) {
        m_pMainFrame->Destroy();
        m_pMainFrame = nullptr;
        return false;
    }

    m_pMainFrame->SetConnectValues(line.dataSource, line.userName);
    m_pMainFrame->Show();
    m_pMainFrame->OfferRecovery();
    if (!EnvironmentIs("TARNWELL_NO_CONNECT_DIALOG", "1")) m_pMainFrame->OnChangeConnection();
    m_pMainFrame->Update();
    return true;
}

int CTarnwellApp::OnExit() {
    SaveRecentFiles();
    if (m_pProfileStore) m_pProfileStore->Flush();
    return wxApp::OnExit();
}

void CTarnwellApp::LoadRecentFiles() {
    wxConfigBase& config = m_pProfileStore->Config();
    const wxString oldPath = config.GetPath();
    config.SetPath(CFileProfileStore::kRecentFileGroup);
    m_pDocManager->GetRecentFiles()->Load(config);
    config.SetPath(oldPath);
}

void CTarnwellApp::SaveRecentFiles() {
    if (!m_pProfileStore || !m_pDocManager) return;
    wxConfigBase& config = m_pProfileStore->Config();
    const wxString oldPath = config.GetPath();
    config.SetPath(CFileProfileStore::kRecentFileGroup);
    m_pDocManager->GetRecentFiles()->Save(config);
    config.SetPath(oldPath);
}

void CTarnwellApp::OnAppAbout() {
    CAboutDlg dlg(GetTopWindow());
    dlg.ShowModal();
}

void CTarnwellApp::CallEventHandler(wxEvtHandler* handler, wxEventFunctor& functor, wxEvent& event) const {
    try {
        wxApp::CallEventHandler(handler, functor, event);
    } catch (...) {
        ReportFailure(OriginOf(event));
    }
}

bool CTarnwellApp::OnExceptionInMainLoop() {
    ReportFailure(CommandOrigin::Other);
    // The program goes on.
    return true;
}

void CTarnwellApp::ReportFailure(CommandOrigin origin) const {
    const CommandFailure failure = DescribeCommandFailure(std::current_exception(), origin);
    // Running out of memory is shown above every window.
    const long icon = failure.outOfMemory ? wxICON_EXCLAMATION | wxSTAY_ON_TOP : wxICON_ERROR;
    ShowMessageBox(ToUiString(failure.text), wxOK | icon, GetTopWindow());
}
