#include "app/doc_manager.h"

#include "app/recent_file_list.h"
#include "app/ui_text.h"
#include "common/file_exception.h"
#include "common/message_box.h"

#include <wx/app.h>
#include <wx/filedlg.h>
#include <wx/filename.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string>

namespace {

// Empty when the file can be read; otherwise the message that says why not,
// naming the file.
std::string WhyUnreadable(const std::string& path) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) return CFileException::FromErrno(EISDIR, path).Message();
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return CFileException::FromErrno(errno, path).Message();
    std::fclose(file);
    return {};
}

wxString AbsolutePath(const wxString& path) {
    wxFileName name(path);
    name.MakeAbsolute();
    return name.GetFullPath();
}

}  // namespace

wxBEGIN_EVENT_TABLE(CDocManager, wxDocManager)
    EVT_MENU(wxID_NEW, CDocManager::OnNew)
    EVT_MENU(wxID_OPEN, CDocManager::OnOpen)
    EVT_MENU_RANGE(wxID_FILE1, wxID_FILE1 + CRecentFileList::kMaxFiles - 1, CDocManager::OnRecentFile)
    EVT_UPDATE_UI(wxID_SAVE, CDocManager::OnUpdateHaveDocument)
    EVT_UPDATE_UI(wxID_SAVEAS, CDocManager::OnUpdateHaveDocument)
wxEND_EVENT_TABLE()

// Initialize() runs here, not in the base constructor, so the recent-file list
// made is ours.
CDocManager::CDocManager() : wxDocManager(0, false) { Initialize(); }

wxString CDocManager::MakeNewDocumentName() { return "untitled"; }

wxFileHistory* CDocManager::OnCreateFileHistory() { return new CRecentFileList; }

CRecentFileList* CDocManager::GetRecentFiles() const { return static_cast<CRecentFileList*>(GetFileHistory()); }

wxDocument* CDocManager::GetScript() {
    const wxList& docs = GetDocuments();
    return docs.empty() ? nullptr : static_cast<wxDocument*>(docs.GetFirst()->GetData());
}

bool CDocManager::NewScript() {
    wxDocument* doc = GetScript();
    if (!doc) return CreateNewDocument() != nullptr;
    if (!doc->OnSaveModified() || !doc->OnNewDocument()) return false;
    DocumentChanged();
    return true;
}

CDocManager::OpenResult CDocManager::OpenScript(const wxString& givenPath) {
    wxDocument* doc = GetScript();
    if (!doc) return OpenResult::Failed;
    if (!doc->OnSaveModified()) return OpenResult::Cancelled;

    const wxString path = AbsolutePath(givenPath);
    const std::string why = WhyUnreadable(std::string(path.fn_str()));
    if (!why.empty()) {
        ShowMessageBox(ToUiString(why), wxOK | wxICON_ERROR, wxTheApp->GetTopWindow());
        return OpenResult::Failed;
    }

    // The document reads the whole file before it lets go of the old text,
    // and reports a failure itself.
    if (!doc->OnOpenDocument(path)) return OpenResult::Failed;
    doc->SetTitle(wxFileName(path).GetFullName());
    doc->Modify(false);
    AddFileToHistory(path);
    DocumentChanged();
    return OpenResult::Opened;
}

void CDocManager::DocumentChanged() {
    if (m_onDocumentChanged) m_onDocumentChanged();
}

void CDocManager::OnNew(wxCommandEvent&) { NewScript(); }

void CDocManager::OnOpen(wxCommandEvent&) {
    wxFileDialog dialog(wxTheApp->GetTopWindow(), "Open", GetLastDirectory(), wxString(),
                        "Script Files (*.sql)|*.sql|All Files (*.*)|*", wxFD_OPEN | wxFD_FILE_MUST_EXIST);
    if (dialog.ShowModal() != wxID_OK) return;
    SetLastDirectory(dialog.GetDirectory());
    OpenScript(dialog.GetPath());
}

void CDocManager::OnRecentFile(wxCommandEvent& event) {
    const size_t index = static_cast<size_t>(event.GetId() - wxID_FILE1);
    CRecentFileList* recent = GetRecentFiles();
    if (!recent || index >= recent->GetCount()) return;
    const wxString path = recent->GetHistoryFile(index);
    if (OpenScript(path) == OpenResult::Failed && !wxFileName::FileExists(path)) {
        // A file that is gone is dropped from the list (it may have moved up
        // while the failed attempt ran, so look it up again).
        for (size_t i = 0; i < recent->GetCount(); ++i)
            if (recent->GetHistoryFile(i) == path) {
                recent->RemoveFileFromHistory(i);
                break;
            }
    }
}

void CDocManager::OnUpdateHaveDocument(wxUpdateUIEvent& event) { event.Enable(GetScript() != nullptr); }
