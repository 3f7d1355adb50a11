#include "script/script.h"

#include "common/file_exception.h"
#include "common/message_box.h"
#include "panes/default_extension.h"
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

std::string CScript::PaneText() {
    CScriptPane* pane = FindScriptPane();
    return pane != nullptr ? pane->GetText() : m_pszText;
}

void CScript::ResetReader() {
    GetTextFromPane();
    m_reader.Reset(m_pszText, CommentSyntaxOf(m_pSettings));
}

bool CScript::GetNextStatement(std::string& statement) { return m_reader.GetNextStatement(statement); }

void CScript::Modify(bool modified) {
    const bool was = IsModified();
    wxDocument::Modify(modified);
    if (!modified) {
        if (CScriptPane* pane = FindScriptPane()) pane->SetSavePoint();
    }
    if (was != modified && m_onModified) m_onModified(modified);
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
    m_file.Forget();
    return true;
}

void CScript::Recover(const std::string& text, const std::string& path) {
    m_pszText = text;
    m_reader.Reset({}, CommentSyntax{});
    const wxString file(path.c_str(), *wxConvFileName);
    SetFilename(file, true);
    SetTitle(path.empty() ? wxString(kUntitled) : wxFileNameFromPath(file));
    // With a file, Save writes there at once, over the file as it is now.
    SetDocumentSaved(!path.empty());
    if (path.empty()) m_file.Forget();
    else m_file.Keep(path, CFileStamp::Of(path));
    UpdateAllViews();
    Modify(true);
}

void CScript::OfferReload() {
    if (IsModified() || !m_file.TakeReloadOffer()) return;
    const wxString question =
        wxString::Format("%s was changed by another program. Reload it?", wxFileNameFromPath(GetFilename()));
    if (ShowMessageBox(question, wxYES_NO | wxICON_QUESTION, GetDocumentWindow()) == wxYES)
        OnOpenDocument(GetFilename());
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
    const std::string extension(docTemplate->GetDefaultExtension().utf8_str());
    // A script without a file is offered as "untitled.sql".
    wxString name = wxFileNameFromPath(GetFilename());
    if (name.empty()) name = wxString::FromUTF8(default_extension::Add(kUntitled, extension));
    const CTextFileDialog::Kind kind{"Save As", directory, name,
                                     docTemplate->GetDescription() + " (" + filter + ")|" + filter, extension};
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
    const std::string path = FileSystemPath(file);
    // Taken before reading: a change while the file is read shows later.
    const CFileStamp stamp = CFileStamp::Of(path);
    try {
        // The old text stays until the whole file has been read.
        m_pszText = CScriptFile::Read(path);
    } catch (const CFileException& failure) {
        ShowFileError(failure.Message());
        return false;
    }
    m_file.Keep(path, stamp);
    SetTitle(wxFileNameFromPath(file));
    return true;
}

bool CScript::DoSaveDocument(const wxString& file) {
    const std::string path = FileSystemPath(file);
    if (m_file.ChangedOnDisk(path)) {
        const wxString question = wxString::Format(
            "%s was changed by another program since it was opened. Overwrite it?", wxFileNameFromPath(file));
        if (ShowMessageBox(question, wxYES_NO | wxICON_WARNING, GetDocumentWindow()) != wxYES) return false;
    }
    GetTextFromPane();
    try {
        CScriptFile::Write(path, m_pszText);
    } catch (const CFileException& failure) {
        ShowFileError(failure.Message());
        return false;
    }
    m_file.Keep(path, CFileStamp::Of(path));
    return true;
}

void CScript::ShowFileError(const std::string& message) {
    ShowMessageBox(ToWindowText(message), wxOK | wxICON_ERROR, GetDocumentWindow());
}
