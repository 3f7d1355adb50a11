#include "app/row_splitter.h"

#include <climits>

CRowSplitter::CRowSplitter(wxWindow* parent)
    : wxSplitterWindow(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxSP_3D | wxSP_LIVE_UPDATE) {
    SetMinimumPaneSize(0);
    SetSashGravity(0.0);
}

bool CRowSplitter::SplitRows(wxWindow* top, wxWindow* bottom, int topHeight) {
    if (topHeight > 0) return SplitHorizontally(top, bottom, topHeight);
    if (!SplitHorizontally(top, bottom, 1)) return false;
    // An empty upper row is set directly: to the splitter's own calls a
    // position of 0 means "in the middle".
    m_requestedSashPosition = INT_MAX;
    DoSetSashPosition(0);
    SizeWindows();
    return true;
}

int CRowSplitter::OnSashPositionChanging(int newSashPosition) {
    // The splitter unsplits when the bar is dropped on an edge: stop one
    // pixel short of it.
    const int size = GetWindowSize();
    if (newSashPosition <= 0) return size > 1 ? 1 : -1;
    if (newSashPosition >= size) return size > 1 ? size - 1 : -1;
    return newSashPosition;
}

void CRowSplitter::OnDoubleClickSash(int, int) {
    // A double click would unsplit; the rows stay.
}
