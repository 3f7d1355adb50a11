#pragma once

#include <wx/filehistory.h>

class wxMenu;
class wxMenuItem;

// The recent-file list: at most four scripts, newest first, stored as File1
// to File4 in the profile's [Recent File List] group. Its menu entries
// (wxID_FILE1 and on, "&1 " and the shortened path) stand in the File menu
// just before a given item; while the list is empty a single disabled entry
// "Recent File" stands there instead.
class CRecentFileList : public wxFileHistory {
public:
    static constexpr int kMaxFiles = 4;
    static constexpr const char* kPlaceholder = "Recent File";

    CRecentFileList();

    // The menu that shows the list, and the item (the separator before Exit)
    // in front of which the entries stand. Shows the current list at once.
    void UseMenuBefore(wxMenu* menu, wxMenuItem* before);

    // Reads File1..File4 from the config's current group (empty or missing
    // values end the list); writes them back, removing unused keys.
    void Load(const wxConfigBase& config) override;
    void Save(wxConfigBase& config) override;

    void AddFileToHistory(const wxString& file) override;
    void RemoveFileFromHistory(size_t i) override;

private:
    void RefreshMenu();

    wxMenu* m_pMenu = nullptr;
    wxMenuItem* m_pBefore = nullptr;
};
