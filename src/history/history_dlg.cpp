#include "history/history_dlg.h"

#include "history/history_list.h"
#include "history/history_search.h"

#include <wx/button.h>
#include <wx/listbox.h>
#include <wx/sizer.h>
#include <wx/srchctrl.h>
#include <wx/strconv.h>
#include <wx/textctrl.h>

#include <string>

namespace {

// Entries are bytes; bytes that are not UTF-8 are shown as placeholders here
// and go unchanged into the script pane.
wxString ForDisplay(const std::string& bytes) {
    return wxString(bytes.data(), wxMBConvUTF8(wxMBConvUTF8::MAP_INVALID_UTF8_TO_PUA), bytes.size());
}

// The preview keeps the script's line breaks; the text control takes "\n".
std::string WithNewlines(std::string text) {
    std::string::size_type at = 0;
    while ((at = text.find("\r\n", at)) != std::string::npos) text.erase(at, 1);
    return text;
}

}  // namespace

CHistoryDlg::CHistoryDlg(wxWindow* parent, const CHistoryList& history, std::size_t posSelected,
                         const CHistoryStore* store)
    : wxDialog(parent, wxID_ANY, "History"), m_pHistory(&history), m_posSelected(posSelected) {
    if (m_posSelected >= history.Size() && !history.IsEmpty()) m_posSelected = history.Size() - 1;

    const wxSize boxSize = ConvertDialogToPixels(wxSize(213, 63));
    auto* column = new wxBoxSizer(wxVERTICAL);
    if (store) {
        m_searchField = new wxSearchCtrl(this, kSearchId);
        m_searchField->SetDescriptiveText("Search all executed scripts");
        m_searchField->ShowCancelButton(true);
        column->Add(m_searchField, wxSizerFlags().Expand().Border(wxLEFT | wxRIGHT | wxTOP));
        m_search = std::make_unique<CHistorySearch>(
            *store, [this](std::uint64_t query, std::vector<HistoryRecord> found) {
                CallAfter([this, query, found = std::move(found)] { ShowFound(query, found); });
            });
        m_searchField->Bind(wxEVT_TEXT, &CHistoryDlg::OnSearchText, this);
    }
    m_list = new wxListBox(this, kListId, wxDefaultPosition, boxSize, 0, nullptr,
                           wxLB_SINGLE | wxLB_NEEDED_SB | wxLB_HSCROLL);
    m_text = new wxTextCtrl(this, kTextId, wxEmptyString, wxDefaultPosition, boxSize,
                            wxTE_MULTILINE | wxTE_READONLY | wxTE_DONTWRAP | wxHSCROLL);

    auto* buttons = new wxStdDialogButtonSizer;
    buttons->AddButton(new wxButton(this, wxID_OK));
    buttons->AddButton(new wxButton(this, wxID_CANCEL));
    buttons->Realize();

    column->Add(m_list, wxSizerFlags(1).Expand().Border(wxALL));
    column->Add(m_text, wxSizerFlags(1).Expand().Border(wxLEFT | wxRIGHT));
    column->Add(buttons, wxSizerFlags().Expand().Border(wxALL));
    SetSizerAndFit(column);

    m_list->Bind(wxEVT_LISTBOX, &CHistoryDlg::OnSelChange, this);
    Bind(wxEVT_BUTTON, &CHistoryDlg::OnOK, this, wxID_OK);

    FillList();
    ShowSelectedEntry();
    // The first field has the focus: the search field where there is one.
    if (m_searchField) m_searchField->SetFocus();
    else m_list->SetFocus();
}

// The worker stops before the window does, so no result arrives for a
// dialog that is gone; results already queued go with the window.
CHistoryDlg::~CHistoryDlg() { m_search.reset(); }

bool CHistoryDlg::Searching() const { return m_searchField && !m_searchField->GetValue().empty(); }

void CHistoryDlg::FillList() {
    m_bShowingFound = false;
    m_list->Clear();
    for (std::size_t index = 0; index < m_pHistory->Size(); ++index) {
        m_list->Append(ForDisplay(CHistoryList::ListLine(m_pHistory->Entry(index))));
    }
    if (m_posSelected < m_pHistory->Size()) m_list->SetSelection(static_cast<int>(m_posSelected));
}

void CHistoryDlg::ShowSelectedEntry() {
    const int index = m_list->GetSelection();
    // With no line selected the preview keeps its text.
    if (index == wxNOT_FOUND) return;
    const auto line = static_cast<std::size_t>(index);
    if (m_bShowingFound) {
        if (line < m_found.size()) m_text->ChangeValue(ForDisplay(WithNewlines(CHistoryList::Preview(m_found[line].script))));
    } else if (line < m_pHistory->Size()) {
        m_text->ChangeValue(ForDisplay(WithNewlines(CHistoryList::Preview(m_pHistory->Entry(line)))));
    }
}

void CHistoryDlg::OnSearchText(wxCommandEvent& /*event*/) {
    if (Searching()) {
        m_nQuery = m_search->Start(m_searchField->GetValue().utf8_string());
        return;
    }
    m_search->Cancel();
    m_found.clear();
    if (m_bShowingFound) FillList();
    ShowSelectedEntry();
}

void CHistoryDlg::ShowFound(std::uint64_t query, std::vector<HistoryRecord> found) {
    if (query != m_nQuery || !Searching()) return;   // a newer query, or back to the session's list
    m_found = std::move(found);
    wxArrayString lines;
    for (const HistoryRecord& record : m_found) lines.Add(ForDisplay(record.ListLine()));
    m_list->Set(lines);
    m_bShowingFound = true;
    if (m_found.empty()) m_text->Clear();
    else m_list->SetSelection(0);
    ShowSelectedEntry();
}

void CHistoryDlg::OnSelChange(wxCommandEvent& /*event*/) { ShowSelectedEntry(); }

void CHistoryDlg::OnOK(wxCommandEvent& /*event*/) {
    const int index = m_list->GetSelection();
    if (index != wxNOT_FOUND) {
        const auto line = static_cast<std::size_t>(index);
        if (m_bShowingFound) {
            if (line < m_found.size()) m_foundText = m_found[line].script;
        } else if (line < m_pHistory->Size()) {
            m_posSelected = line;
        }
    }
    EndModal(wxID_OK);
}
