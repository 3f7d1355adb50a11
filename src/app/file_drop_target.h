#pragma once

#include <wx/dnd.h>

#include <functional>

class wxDataObjectComposite;
class wxFileDataObject;
class wxStyledTextCtrl;
class wxTextDataObject;

// Files dropped on the main window: the first one is handed on to be opened
// as File > Open would open it (the worksheet holds one script at a time).
// A drop goes to the part of the window under the pointer (a pane, the tool
// bar, the status bar...), so each part gets a target of its own.
//
// On a text pane the target also stands in for the control's own: dragged
// text is inserted (or moved) by the control as before, while a dragged file
// is opened rather than its name inserted.
class CFileDropTarget : public wxDropTarget {
public:
    using OpenFile = std::function<void(const wxString& path)>;

    explicit CFileDropTarget(OpenFile open, wxStyledTextCtrl* textControl = nullptr);

    wxDragResult OnEnter(wxCoord x, wxCoord y, wxDragResult def) override;
    wxDragResult OnDragOver(wxCoord x, wxCoord y, wxDragResult def) override;
    void OnLeave() override;
    wxDragResult OnData(wxCoord x, wxCoord y, wxDragResult def) override;

private:
    // Whether the drag's data comes as files or as text: the first of the
    // formats the source offers (in its order of preference) that this
    // target takes.
    bool OffersFiles();
    bool OffersText();

    OpenFile m_open;
    wxStyledTextCtrl* m_pTextControl;
    // Owned by the composite, which the base class owns.
    wxDataObjectComposite* m_pData;
    wxFileDataObject* m_pFiles;
    wxTextDataObject* m_pText = nullptr;
};
