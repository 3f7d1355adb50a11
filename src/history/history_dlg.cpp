#include "history/history_dlg.h"

#include "history/history_list.h"

#include <wx/button.h>
#include <wx/listbox.h>
#include <wx/sizer.h>
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

CHistoryDlg::CHistoryDlg(wxWindow* parent, const CHistoryList& history, std::size_t posSelected)
    : wxDialog(parent, wxID_ANY, "History"), m_pHistory(&history), m_posSelected(posSelected) {
    const wxSize boxSize = ConvertDialogToPixels(wxSize(213, 63));
    m_list = new wxListBox(this, kListId, wxDefaultPosition, boxSize, 0, nullptr,
                           wxLB_SINGLE | wxLB_NEEDED_SB | wxLB_HSCROLL);
    m_text = new wxTextCtrl(this, kTextId, wxEmptyString, wxDefaultPosition, boxSize,
                            wxTE_MULTILINE | wxTE_READONLY | wxTE_DONTWRAP | wxHSCROLL);

    auto* buttons = new wxStdDialogButtonSizer;
    buttons->AddButton(new wxButton(this, wxID_OK));
    buttons->AddButton(new wxButton(this, wxID_CANCEL));
    buttons->Realize();

    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(m_list, wxSizerFlags(1).Expand().Border(wxALL));
    column->Add(m_text, wxSizerFlags(1).Expand().Border(wxLEFT | wxRIGHT));
    column->Add(buttons, wxSizerFlags().Expand().Border(wxALL));
    SetSizerAndFit(column);

    m_list->Bind(wxEVT_LISTBOX, &CHistoryDlg::OnSelChange, this);
    Bind(wxEVT_BUTTON, &CHistoryDlg::OnOK, this, wxID_OK);

    FillList();
    ShowSelectedEntry();
    m_list->SetFocus();
}

void CHistoryDlg::FillList() {
    for (std::size_t index = 0; index < m_pHistory->Size(); ++index) {
        m_list->Append(ForDisplay(CHistoryList::ListLine(m_pHistory->Entry(index))));
    }
    if (m_posSelected < m_pHistory->Size()) m_list->SetSelection(static_cast<int>(m_posSelected));
}

void CHistoryDlg::ShowSelectedEntry() {
    const int index = m_list->GetSelection();
    // With no line selected the preview keeps its text.
    if (index == wxNOT_FOUND || static_cast<std::size_t>(index) >= m_pHistory->Size()) return;
    m_text->ChangeValue(ForDisplay(WithNewlines(CHistoryList::Preview(m_pHistory->Entry(index)))));
}

void CHistoryDlg::OnSelChange(wxCommandEvent& /*event*/) { ShowSelectedEntry(); }

void CHistoryDlg::OnOK(wxCommandEvent& /*event*/) {
    const int index = m_list->GetSelection();
    if (index != wxNOT_FOUND && static_cast<std::size_t>(index) < m_pHistory->Size()) {
        m_posSelected = static_cast<std::size_t>(index);
    }
    EndModal(wxID_OK);
}
