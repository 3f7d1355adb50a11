#pragma once

#include "app/command_failure.h"

#include <wx/app.h>

#include <memory>
#include <string>
#include <vector>

class CDocManager;
class CFileProfileStore;
class CMainFrame;

// The application: the profile store, the document manager with its one
// template and the recent-file list, the registration of script files with
// the desktop, the command line, the main window and the Connect dialog at
// start, the About box, and the report of failures that escape a command.
//
// Environment variables serve automated runs (tests, screenshots):
// TARNWELL_NO_CONNECT_DIALOG=1 starts without the Connect dialog, and
// TARNWELL_MESSAGE_BOXES=stderr writes message boxes to standard error
// instead of showing them (answering OK, No or Cancel as the box offers;
// Yes instead of No with TARNWELL_MESSAGE_BOX_ANSWER=yes).
class CTarnwellApp : public wxApp {
public:
    CTarnwellApp();
    ~CTarnwellApp() override;

    // The program's arguments after its name, as bytes; main hands them over
    // before the toolkit starts.
    static void SetArguments(std::vector<std::string> args);

    bool OnInit() override;
    int OnExit() override;

    // A failure that escapes an event handler is reported in a message box
    // and the event counts as handled: the program goes on. The text depends
    // on where the event came from (a menu entry or accelerator, or a
    // tool-bar button or anything else).
    void CallEventHandler(wxEvtHandler* handler, wxEventFunctor& functor, wxEvent& event) const override;
    bool OnExceptionInMainLoop() override;

    CMainFrame* GetMainFrame() const { return m_pMainFrame; }
    CDocManager* GetDocManager() const { return m_pDocManager.get(); }
    CFileProfileStore* GetProfileStore() const { return m_pProfileStore.get(); }

    // Shows the About box.
    void OnAppAbout();

private:
    void ReportFailure(CommandOrigin origin) const;
    void LoadRecentFiles();
    void SaveRecentFiles();

    std::unique_ptr<CFileProfileStore> m_pProfileStore;
    std::unique_ptr<CDocManager> m_pDocManager;
    CMainFrame* m_pMainFrame = nullptr;
};

wxDECLARE_APP(CTarnwellApp);
