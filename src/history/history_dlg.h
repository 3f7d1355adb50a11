#pragma once

#include "history/history_record.h"

#include <wx/dialog.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CHistoryList;
class CHistorySearch;
class CHistoryStore;
class wxListBox;
class wxSearchCtrl;
class wxTextCtrl;

// The History dialog: one line per executed script of the session, oldest
// first, and a preview of the selected script. With a durable store, a
// search field above the list finds entries of the whole history instead
// (on a worker thread; each line the time, data source and first line of
// the script, newest first), and emptying the field brings the session's
// list back. It never changes the list; OK hands back the index of the
// chosen session entry, or the text of the chosen entry found.
class CHistoryDlg : public wxDialog {
public:
    static constexpr int kListId = 1008;
    static constexpr int kTextId = 1009;
    static constexpr int kSearchId = 1010;

    // posSelected: the frame's current entry, selected when the dialog opens
    // (the newest when it names none, as after CHistoryList::Restore).
    CHistoryDlg(wxWindow* parent, const CHistoryList& history, std::size_t posSelected,
                const CHistoryStore* store = nullptr);
    ~CHistoryDlg() override;

    // The frame's current entry, or after OK the session entry chosen.
    std::size_t GetPosSelected() const noexcept { return m_posSelected; }
    // After OK on an entry found by a search: its text (GetPosSelected is
    // then the frame's current entry as it was). Otherwise none.
    const std::optional<std::string>& GetFoundText() const noexcept { return m_foundText; }

private:
    bool Searching() const;   // the search field holds text
    void FillList();
    void ShowSelectedEntry();
    void ShowFound(std::uint64_t query, std::vector<HistoryRecord> found);
    void OnSearchText(wxCommandEvent& event);
    void OnSelChange(wxCommandEvent& event);
    void OnOK(wxCommandEvent& event);

    const CHistoryList* m_pHistory;
    std::size_t m_posSelected;
    std::optional<std::string> m_foundText;
    std::vector<HistoryRecord> m_found;
    bool m_bShowingFound = false;         // the list shows m_found, not the session's entries
    std::uint64_t m_nQuery = 0;           // the search whose results the list waits for
    wxSearchCtrl* m_searchField = nullptr;
    wxListBox* m_list = nullptr;
    wxTextCtrl* m_text = nullptr;
    std::unique_ptr<CHistorySearch> m_search;   // stopped before the window goes
};
