#pragma once

#include <wx/docview.h>

#include <functional>

class CRecentFileList;

// The document manager of the single-document worksheet. The one script
// document and its panes are made once at start-up and kept for the life of
// the window: New empties the document and Open (also from the recent-file
// list, a dropped file or the command line) reads a file into it, each after
// asking to save a modified script. Names a new script "untitled".
class CDocManager : public wxDocManager {
public:
    enum class OpenResult { Opened, Cancelled, Failed };

    CDocManager();

    wxString MakeNewDocumentName() override;
    wxFileHistory* OnCreateFileHistory() override;
    CRecentFileList* GetRecentFiles() const;

    // The script document, or none before start-up made it.
    wxDocument* GetScript();

    // New: asks to save a modified script, then empties it; false when the
    // user cancelled.
    bool NewScript();
    // Open: asks to save, reads the file and adds it to the recent-file list.
    // A file that cannot be read is reported in a message box, and the
    // current script stays as it was.
    OpenResult OpenScript(const wxString& path);

    // Called after New or Open changed the document (the frame rebuilds its
    // title).
    std::function<void()> m_onDocumentChanged;

private:
    void DocumentChanged();

    void OnNew(wxCommandEvent& event);
    void OnOpen(wxCommandEvent& event);
    void OnRecentFile(wxCommandEvent& event);
    void OnUpdateHaveDocument(wxUpdateUIEvent& event);

    wxDECLARE_EVENT_TABLE();
};
