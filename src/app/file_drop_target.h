#pragma once

#include <wx/dnd.h>

#include <functional>

// Files dropped on the main window: the first one is handed on to be opened
// as File > Open would open it (the worksheet holds one script at a time).
class CFileDropTarget : public wxFileDropTarget {
public:
    explicit CFileDropTarget(std::function<void(const wxString&)> open);

    bool OnDropFiles(wxCoord x, wxCoord y, const wxArrayString& files) override;

private:
    std::function<void(const wxString&)> m_open;
};
