#pragma once

#include <wx/splitter.h>

// The frame's two rows, one above the other. The upper row keeps its height
// when the window is resized. A row may be made as small as nothing, but the
// splitter never unsplits: neither dragging the bar to an edge nor a double
// click on it takes a row away.
class CRowSplitter : public wxSplitterWindow {
public:
    explicit CRowSplitter(wxWindow* parent);

    // Puts top above bottom with the upper row topHeight pixels high (0
    // included, which the plain splitter takes for "in the middle").
    bool SplitRows(wxWindow* top, wxWindow* bottom, int topHeight);

protected:
    int OnSashPositionChanging(int newSashPosition) override;
    void OnDoubleClickSash(int x, int y) override;
};
