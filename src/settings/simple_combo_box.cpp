#include "settings/simple_combo_box.h"

#include "settings/list_match.h"

#include <wx/listbox.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

wxDEFINE_EVENT(EVT_SIMPLE_COMBO_FOCUS_LOST, wxCommandEvent);

namespace {

wxString Ui(const std::string& text) { return wxString::FromUTF8(text.data(), text.size()); }

}  // namespace

CSimpleComboBox::CSimpleComboBox(wxWindow* parent, wxWindowID id, const wxString& label, wxWindowID labelId, int gap,
                                 const wxSize& listSize, unsigned long editMaxLength)
    : wxPanel(parent, id, wxDefaultPosition, wxDefaultSize, wxTAB_TRAVERSAL | wxNO_BORDER) {
    auto* labelText = new wxStaticText(this, labelId, label);
    m_pEdit = new wxTextCtrl(this, wxID_ANY, wxString(), wxDefaultPosition, wxSize(listSize.x, -1));
    if (editMaxLength > 0) m_pEdit->SetMaxLength(editMaxLength);
    m_pList = new wxListBox(this, wxID_ANY, wxDefaultPosition, listSize, 0, nullptr, wxLB_SINGLE | wxLB_ALWAYS_SB);

    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(labelText, 0, wxBOTTOM, gap);
    sizer->Add(m_pEdit, 0, wxEXPAND);
    sizer->Add(m_pList, 1, wxEXPAND);
    SetSizer(sizer);

    m_pList->Bind(wxEVT_LISTBOX, &CSimpleComboBox::OnListSelected, this);
    m_pEdit->Bind(wxEVT_TEXT, &CSimpleComboBox::OnEditText, this);
    m_pEdit->Bind(wxEVT_KEY_DOWN, &CSimpleComboBox::OnKeyDown, this);
    m_pList->Bind(wxEVT_KEY_DOWN, &CSimpleComboBox::OnKeyDown, this);
    m_pEdit->Bind(wxEVT_KILL_FOCUS, &CSimpleComboBox::OnKillFocus, this);
    m_pList->Bind(wxEVT_KILL_FOCUS, &CSimpleComboBox::OnKillFocus, this);
}

void CSimpleComboBox::SetEntries(const std::vector<std::string>& entries) {
    m_entries = entries;
    wxArrayString items;
    items.reserve(entries.size());
    for (const std::string& entry : entries) items.push_back(Ui(entry));
    m_pList->Set(items);
}

std::string CSimpleComboBox::GetText() const { return m_pEdit->GetValue().utf8_string(); }

void CSimpleComboBox::SetText(const std::string& text) { m_pEdit->ChangeValue(Ui(text)); }

int CSimpleComboBox::GetSelection() const { return m_pList->GetSelection(); }

void CSimpleComboBox::Select(int index) {
    if (index < 0 || index >= static_cast<int>(m_entries.size())) {
        m_pList->SetSelection(wxNOT_FOUND);
        return;
    }
    m_pList->SetSelection(index);
    m_pList->EnsureVisible(index);
    SetText(m_entries[static_cast<std::size_t>(index)]);
}

void CSimpleComboBox::ShowValue(const std::string& text) {
    if (const auto index = list_match::FindFirstPrefix(m_entries, text)) {
        Select(static_cast<int>(*index));
    } else {
        m_pList->SetSelection(wxNOT_FOUND);
        SetText(text);
    }
}

bool CSimpleComboBox::Contains(const wxWindow* window) const {
    return window == this || window == m_pEdit || window == m_pList;
}

void CSimpleComboBox::OnListSelected(wxCommandEvent&) {
    const int index = m_pList->GetSelection();
    if (index == wxNOT_FOUND) return;
    SetText(m_entries[static_cast<std::size_t>(index)]);
    Notify(wxEVT_COMBOBOX);
}

void CSimpleComboBox::OnEditText(wxCommandEvent&) {
    m_pList->SetSelection(wxNOT_FOUND);
    if (const auto index = list_match::FindFirstPrefix(m_entries, GetText())) {
        m_pList->EnsureVisible(static_cast<int>(*index));
    }
}

void CSimpleComboBox::OnKeyDown(wxKeyEvent& event) {
    const int key = event.GetKeyCode();
    if ((key != WXK_UP && key != WXK_DOWN) || m_entries.empty() || event.HasAnyModifiers()) {
        event.Skip();
        return;
    }
    const int last = static_cast<int>(m_entries.size()) - 1;
    const int current = GetSelection();
    int next = 0;
    if (current != wxNOT_FOUND) next = key == WXK_UP ? std::max(current - 1, 0) : std::min(current + 1, last);
    if (next == current) return;
    Select(next);
    Notify(wxEVT_COMBOBOX);
}

void CSimpleComboBox::OnKillFocus(wxFocusEvent& event) {
    event.Skip();
    if (!Contains(event.GetWindow())) Notify(EVT_SIMPLE_COMBO_FOCUS_LOST);
}

void CSimpleComboBox::Notify(wxEventType type) {
    wxCommandEvent notification(type, GetId());
    notification.SetEventObject(this);
    ProcessWindowEvent(notification);
}
