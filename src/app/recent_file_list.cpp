#include "app/recent_file_list.h"

#include "app/recent_file_label.h"
#include "app/ui_text.h"

#include <wx/confbase.h>
#include <wx/menu.h>

#include <vector>

namespace {

wxString Key(int number) { return wxString::Format("File%d", number); }

}  // namespace

CRecentFileList::CRecentFileList() : wxFileHistory(kMaxFiles, wxID_FILE1) {}

void CRecentFileList::UseMenuBefore(wxMenu* menu, wxMenuItem* before) {
    m_pMenu = menu;
    m_pBefore = before;
    RefreshMenu();
}

void CRecentFileList::Load(const wxConfigBase& config) {
    std::vector<wxString> files;
    for (int number = 1; number <= kMaxFiles; ++number) {
        wxString file;
        if (!config.Read(Key(number), &file) || file.empty()) break;
        files.push_back(file);
    }
    while (GetCount() > 0) wxFileHistory::RemoveFileFromHistory(0);
    // Oldest first, so the newest ends on top.
    for (auto it = files.rbegin(); it != files.rend(); ++it) wxFileHistory::AddFileToHistory(*it);
    RefreshMenu();
}

void CRecentFileList::Save(wxConfigBase& config) {
    for (int number = 1; number <= kMaxFiles; ++number) {
        if (static_cast<size_t>(number) <= GetCount())
            config.Write(Key(number), GetHistoryFile(number - 1));
        else if (config.HasEntry(Key(number)))
            config.DeleteEntry(Key(number), false);
    }
}

void CRecentFileList::AddFileToHistory(const wxString& file) {
    wxFileHistory::AddFileToHistory(file);
    RefreshMenu();
}

void CRecentFileList::RemoveFileFromHistory(size_t i) {
    wxFileHistory::RemoveFileFromHistory(i);
    RefreshMenu();
}

void CRecentFileList::RefreshMenu() {
    if (!m_pMenu || !m_pBefore) return;
    for (int id = wxID_FILE1; id < wxID_FILE1 + kMaxFiles; ++id)
        while (wxMenuItem* item = m_pMenu->FindChildItem(id)) m_pMenu->Destroy(item);

    size_t position = m_pMenu->GetMenuItems().IndexOf(m_pBefore);
    if (position == static_cast<size_t>(wxNOT_FOUND)) return;
    if (GetCount() == 0) {
        m_pMenu->Insert(position, wxID_FILE1, kPlaceholder, "Open this document")->Enable(false);
        return;
    }
    for (size_t i = 0; i < GetCount(); ++i) {
        const std::string label = RecentFileLabel(i, FromUiString(GetHistoryFile(i)));
        m_pMenu->Insert(position + i, wxID_FILE1 + static_cast<int>(i), ToUiString(label), "Open this document");
    }
}
