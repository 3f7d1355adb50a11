#include "script/script.h"

#include "common/file_exception.h"
#include "common/message_box.h"
#include "panes/script_pane.h"
#include "panes/text_file_dialog.h"
#include "script/script_file.h"
#include "script/settings_syntax.h"
#include "settings/settings_record.h"

#include <wx/defs.h>
#include <wx/filefn.h>
#include <wx/strconv.h>

wxIMPLEMENT_DYNAMIC_CLASS(CScript, wxDocument);

namespace {

// The title of a script that has never been saved.
constexpr const char* kUntitled = "untitled";

CommentSyntax CommentSyntaxOf(const CSettingsRecord* settings) {
    return settings == nullptr ? CommentSyntax{} : CommentSyntaxOf(*settings);
}

// Text for the window: bytes that are not UTF-8 (a file name may hold them)
// are shown as well as they can be rather than dropping the whole text.
wxString ToWindowText(const std::string& text) {
    return wxString(text.data(), wxMBConvUTF8(wxMBConvUTF8::MAP_INVALID_UTF8_TO_PUA), text.size());
}

std::string FileSystemPath(const wxString& file) {
    const auto path = file.fn_str();
    return std::string(path.data(), path.length());
}

}  // namespace

CScriptPane* CScript::FindScriptPane() {
    for (wxList::compatibility_iterator node = GetViews().GetFirst(); node; node = node->GetNext()) {
        if (auto* pane = wxDynamicCast(node->GetData(), CScriptPane)) return pane;
    }
    return nullptr;
}

void CScript::GetTextFromPane() {
    if (CScriptPane* pane = FindScriptPane()) m_pszText = pane->GetText();
}

void CScript::ResetReader() {
    GetTextFromPane();
    m_reader.Reset(m_pszText, CommentSyntaxOf(m_pSettings));
}

bool CScript::GetNextStatement(std::string& statement) { return m_reader.GetNextStatement(statement); }

void CScript::Modify(bool modified) {
    wxDocument::Modify(modified);
    if (!modified) {
        if (CScriptPane* pane = FindScriptPane()) pane->SetSavePoint();
    }
}

bool CScript::DeleteContents() {
    m_pszText.clear();
    m_pszText.shrink_to_fit();
    // The reader must not point into the text that is gone.
    m_reader.Reset({}, CommentSyntax{});
    UpdateAllViews();
    return wxDocument::DeleteContents();
}

bool CScript::OnNewDocument() {
    if (!OnSaveModified() || !wxDocument::OnNewDocument()) return false;
    DeleteContents();
    Modify(false);
    SetTitle(kUntitled);
    SetFilename(wxString(), true);
    return true;
}

bool CScript::OnSaveModified() {
    if (!IsModified()) return true;
    const wxString prompt = wxString::Format("Save changes to %s?", GetUserReadableName());
    switch (ShowMessageBox(prompt, wxYES_NO | wxCANCEL | wxICON_QUESTION, GetDocumentWindow())) {
        case wxYES: return Save();
        case wxNO: Modify(false); return true;
        default: return false;
    }
}

bool CScript::SaveAs() {
    wxDocTemplate* docTemplate = GetDocumentTemplate();
    if (docTemplate == nullptr) return false;
    wxString directory = docTemplate->GetDirectory();
    if (directory.empty()) directory = wxPathOnly(GetFilename());
    if (directory.empty()) directory = GetDocumentManager()->GetLastDirectory();
    const wxString filter = docTemplate->GetFileFilter();
    const CTextFileDialog::Kind kind{"Save As", directory, wxFileNameFromPath(GetFilename()),
                                     docTemplate->GetDescription() + " (" + filter + ")|" + filter,
                                     std::string(docTemplate->GetDefaultExtension().utf8_str())};
    const auto path = CTextFileDialog::Choose(GetDocumentWindow(), kind);
    if (!path) return false;

    const wxString file(path->c_str(), *wxConvFileName);
    if (!OnSaveDocument(file)) return false;
    SetTitle(wxFileNameFromPath(file));
    SetFilename(file, true);
    // Only files the Open dialog lists by default go into the recent-file list.
    if (docTemplate->FileMatchesTemplate(file)) GetDocumentManager()->AddFileToHistory(file);
    return true;
}

bool CScript::DoOpenDocument(const wxString& file) {
    try {
        // The old text stays until the whole file has been read.
        m_pszText = CScriptFile::Read(FileSystemPath(file));
    } catch (const CFileException& failure) {
        ShowFileError(failure.Message());
        return false;
    }
    SetTitle(wxFileNameFromPath(file));
    return true;
}

bool CScript::DoSaveDocument(const wxString& file) {
    GetTextFromPane();
    try {
        CScriptFile::Write(FileSystemPath(file), m_pszText);
    } catch (const CFileException& failure) {
        ShowFileError(failure.Message());
        return false;
    }
    return true;
}

void CScript::ShowFileError(const std::string& message) {
    ShowMessageBox(ToWindowText(message), wxOK | wxICON_ERROR, GetDocumentWindow());
}
