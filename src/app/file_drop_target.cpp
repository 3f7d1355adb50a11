#include "app/file_drop_target.h"

#include <utility>

CFileDropTarget::CFileDropTarget(std::function<void(const wxString&)> open) : m_open(std::move(open)) {}

bool CFileDropTarget::OnDropFiles(wxCoord, wxCoord, const wxArrayString& files) {
    if (files.empty() || !m_open) return false;
    m_open(files[0]);
    return true;
}
