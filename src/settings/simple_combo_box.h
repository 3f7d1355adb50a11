#pragma once

#include <wx/event.h>
#include <wx/panel.h>

#include <string>
#include <vector>

class wxListBox;
class wxTextCtrl;

// Sent (processed at once, with the box's id) when the keyboard focus has
// left the box for a window outside it.
wxDECLARE_EVENT(EVT_SIMPLE_COMBO_FOCUS_LOST, wxCommandEvent);

// An edit field with its list always shown below it. Choosing a list entry
// (mouse, or Up/Down in either part) puts its text into the edit field and
// sends wxEVT_COMBOBOX with the box's id. Typing into the edit field clears
// the list's selection, so the typed text is what counts, and scrolls the
// list to the first entry that begins with it. Changes made through the
// methods below send nothing. The box's label stands above the edit field,
// inside the box, so that its mnemonic takes the keyboard to the edit field
// (GTK gives a label's mnemonic to the control made right after it).
class CSimpleComboBox : public wxPanel {
public:
    // label (with its id) above the box, gap pixels from it; editMaxLength > 0
    // limits what can be typed into the edit field.
    CSimpleComboBox(wxWindow* parent, wxWindowID id, const wxString& label, wxWindowID labelId, int gap,
                    const wxSize& listSize, unsigned long editMaxLength = 0);

    // Replaces the list; nothing is selected afterwards.
    void SetEntries(const std::vector<std::string>& entries);
    const std::vector<std::string>& Entries() const { return m_entries; }

    // The edit field's text (UTF-8 bytes) and its replacement.
    std::string GetText() const;
    void SetText(const std::string& text);

    // The selected list entry, or wxNOT_FOUND.
    int GetSelection() const;
    // Selects an entry and puts its text into the edit field.
    void Select(int index);

    // Shows a value: selects the first entry that begins with text (case
    // ignored) and shows that entry; without one, clears the selection and
    // puts text into the edit field.
    void ShowValue(const std::string& text);

    // Whether window is the box or one of its two parts.
    bool Contains(const wxWindow* window) const;

    wxTextCtrl* Edit() const { return m_pEdit; }
    wxListBox* List() const { return m_pList; }

private:
    void OnListSelected(wxCommandEvent& event);
    void OnEditText(wxCommandEvent& event);
    void OnKeyDown(wxKeyEvent& event);
    void OnKillFocus(wxFocusEvent& event);
    void Notify(wxEventType type);

    wxTextCtrl* m_pEdit;
    wxListBox* m_pList;
    std::vector<std::string> m_entries;
};
