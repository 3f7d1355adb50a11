#include "app/file_drop_target.h"

#include <wx/dataobj.h>
#include <wx/stc/stc.h>

#include <utility>

CFileDropTarget::CFileDropTarget(OpenFile open, wxStyledTextCtrl* textControl)
    : m_open(std::move(open)),
      m_pTextControl(textControl),
      m_pData(new wxDataObjectComposite),
      m_pFiles(new wxFileDataObject) {
    m_pData->Add(m_pFiles, true);
    if (m_pTextControl != nullptr) {
        m_pText = new wxTextDataObject;
        m_pData->Add(m_pText);
    }
    SetDataObject(m_pData);
}

bool CFileDropTarget::OffersFiles() { return GetMatchingPair() == wxDF_FILENAME; }

bool CFileDropTarget::OffersText() {
    return m_pText != nullptr && m_pText->IsSupported(GetMatchingPair(), wxDataObject::Set);
}

wxDragResult CFileDropTarget::OnEnter(wxCoord x, wxCoord y, wxDragResult def) {
    if (OffersFiles()) return wxDragCopy;
    return OffersText() ? m_pTextControl->DoDragEnter(x, y, def) : wxDragNone;
}

wxDragResult CFileDropTarget::OnDragOver(wxCoord x, wxCoord y, wxDragResult def) {
    // A file is opened, never moved: the source keeps it.
    if (OffersFiles()) return wxDragCopy;
    return OffersText() ? m_pTextControl->DoDragOver(x, y, def) : wxDragNone;
}

void CFileDropTarget::OnLeave() {
    if (m_pTextControl != nullptr) m_pTextControl->DoDragLeave();
}

wxDragResult CFileDropTarget::OnData(wxCoord x, wxCoord y, wxDragResult def) {
    if (!GetData()) return wxDragNone;
    if (m_pData->GetReceivedFormat() == wxDF_FILENAME) {
        const wxArrayString& files = m_pFiles->GetFilenames();
        if (files.empty() || !m_open) return wxDragNone;
        m_open(files[0]);
        return wxDragCopy;
    }
    if (m_pText == nullptr) return wxDragNone;
    return m_pTextControl->DoDropText(x, y, m_pText->GetText()) ? def : wxDragNone;
}
