#pragma once

#include <wx/dialog.h>

#include <cstddef>

class CHistoryList;
class wxListBox;
class wxTextCtrl;

// The History dialog: one line per executed script, oldest first, and a
// preview of the selected script. It never changes the list; OK hands back
// the index of the chosen entry.
class CHistoryDlg : public wxDialog {
public:
    static constexpr int kListId = 1008;
    static constexpr int kTextId = 1009;

    // posSelected: the frame's current entry, selected when the dialog opens.
    CHistoryDlg(wxWindow* parent, const CHistoryList& history, std::size_t posSelected);

    // The frame's current entry, or after OK the entry chosen.
    std::size_t GetPosSelected() const noexcept { return m_posSelected; }

private:
    void FillList();
    void ShowSelectedEntry();
    void OnSelChange(wxCommandEvent& event);
    void OnOK(wxCommandEvent& event);

    const CHistoryList* m_pHistory;
    std::size_t m_posSelected;
    wxListBox* m_list = nullptr;
    wxTextCtrl* m_text = nullptr;
};
