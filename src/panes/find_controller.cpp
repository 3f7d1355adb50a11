#include "panes/find_controller.h"

#include "common/message_box.h"
#include "common/mnemonic_labels.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/radiobox.h>
#include <wx/stattext.h>
#include <wx/stc/stc.h>
#include <wx/textctrl.h>

#include <utility>
#include <vector>

namespace {

// The search and replacement fields show this many average characters.
constexpr int kFieldChars = 30;

const wxEventTypeTag<wxFindDialogEvent>* const kFindEvents[] = {
    &wxEVT_FIND, &wxEVT_FIND_NEXT, &wxEVT_FIND_REPLACE, &wxEVT_FIND_REPLACE_ALL, &wxEVT_FIND_CLOSE};

std::string Utf8(const wxString& text) {
    const wxScopedCharBuffer bytes = text.utf8_str();
    return std::string(bytes.data(), bytes.length());
}

// The dialog's box flags as search flags, and back.
std::uint32_t FlagsFromDialog(int dialogFlags) {
    std::uint32_t flags = 0;
    if (dialogFlags & wxFR_MATCHCASE) flags |= CFindState::kFrMatchCase;
    if (dialogFlags & wxFR_WHOLEWORD) flags |= CFindState::kFrWholeWord;
    return flags;
}

int FlagsToDialog(std::uint32_t flags) {
    int dialogFlags = wxFR_DOWN;
    if (flags & CFindState::kFrMatchCase) dialogFlags |= wxFR_MATCHCASE;
    if (flags & CFindState::kFrWholeWord) dialogFlags |= wxFR_WHOLEWORD;
    return dialogFlags;
}

// Which button of the dialog a report stands for.
std::uint32_t ActionOf(wxEventType type) {
    if (type == wxEVT_FIND || type == wxEVT_FIND_NEXT) return CFindState::kFrFindNext;
    if (type == wxEVT_FIND_REPLACE) return CFindState::kFrReplace;
    if (type == wxEVT_FIND_REPLACE_ALL) return CFindState::kFrReplaceAll;
    if (type == wxEVT_FIND_CLOSE) return CFindState::kFrDialogTerm;
    return 0;
}

}  // namespace

CFindController::CFindController(wxWindow* owner, std::function<wxStyledTextCtrl*()> activeControl)
    : m_pOwner(owner), m_activeControl(std::move(activeControl)), m_state(*this) {}

CFindController::~CFindController() {
    if (m_pFindDialog != nullptr) {
        BindDialog(false);
        m_pFindDialog->Destroy();
    }
}

void CFindController::ShowNotFound() {
    ShowMessageBox("Search string not found", wxOK | wxICON_EXCLAMATION, m_pOwner);
}

CSearchTarget* CFindController::ActiveTarget() {
    wxStyledTextCtrl* control = m_activeControl ? m_activeControl() : nullptr;
    if (control == nullptr) return nullptr;
    m_target.emplace(*control);
    return &*m_target;
}

bool CFindController::OpenDialog(DialogKind kind, const std::string& findText, const std::string& replaceText,
                                 std::uint32_t flags) {
    m_findData.SetFindString(wxString::FromUTF8(findText.data(), findText.size()));
    m_findData.SetReplaceString(wxString::FromUTF8(replaceText.data(), replaceText.size()));
    m_findData.SetFlags(FlagsToDialog(flags));
    const bool replace = kind == DialogKind::replace;
    m_pFindDialog = new wxFindReplaceDialog(m_pOwner, &m_findData, replace ? "Replace" : "Find",
                                            wxFR_NOUPDOWN | (replace ? wxFR_REPLACEDIALOG : 0));
    ArrangeControls();
    BindDialog(true);
    m_pFindDialog->Show();
    return true;
}

void CFindController::ArrangeControls() {
    const int fieldWidth = kFieldChars * m_pFindDialog->GetCharWidth();
    GiveMnemonics();
    for (wxWindow* child : m_pFindDialog->GetChildren()) {
        if (dynamic_cast<wxRadioBox*>(child) != nullptr) {
            // Searches run forward only; the dialog merely disables its up/down box.
            child->Hide();
        } else if (auto* field = dynamic_cast<wxTextCtrl*>(child)) {
            field->SetMaxLength(kMaxFieldLength);
            // The dialog's fields are only a few characters wide.
            field->SetMinSize(wxSize(fieldWidth, wxDefaultCoord));
        } else if (auto* label = dynamic_cast<wxStaticText*>(child)) {
            // The dialog gives its labels a fixed width, which cuts the
            // longer ones off; each gets the width of its text.
            label->SetMinSize(label->GetBestSize());
        }
    }
    m_pFindDialog->Layout();
    m_pFindDialog->Fit();
}

// The dialog's buttons have mnemonics, its field labels and check boxes
// none; each gets a letter of its own (a label's mnemonic focuses the field
// made after it).
void CFindController::GiveMnemonics() {
    std::vector<wxControl*> controls;
    std::vector<std::string> labels;
    for (wxWindow* child : m_pFindDialog->GetChildren()) {
        wxControl* control = dynamic_cast<wxStaticText*>(child);
        if (control == nullptr) control = dynamic_cast<wxButton*>(child);
        if (control == nullptr) control = dynamic_cast<wxCheckBox*>(child);
        if (control == nullptr) continue;
        controls.push_back(control);
        labels.push_back(Utf8(control->GetLabel()));
    }
    labels = WithMnemonics(std::move(labels));
    for (std::size_t i = 0; i < controls.size(); ++i) controls[i]->SetLabel(wxString::FromUTF8(labels[i]));
}

void CFindController::BringDialogToFront() {
    if (m_pFindDialog != nullptr) m_pFindDialog->Raise();
}

void CFindController::BindDialog(bool bind) {
    for (const auto* type : kFindEvents) {
        if (bind) {
            m_pFindDialog->Bind(*type, &CFindController::OnFindDialogEvent, this);
        } else {
            m_pFindDialog->Unbind(*type, &CFindController::OnFindDialogEvent, this);
        }
    }
    if (bind) {
        m_pFindDialog->Bind(wxEVT_DESTROY, &CFindController::OnDialogDestroyed, this);
    } else {
        m_pFindDialog->Unbind(wxEVT_DESTROY, &CFindController::OnDialogDestroyed, this);
    }
}

void CFindController::OnDialogDestroyed(wxWindowDestroyEvent& event) {
    event.Skip();
    // Only the dialog itself counts, not its controls going with it.
    if (m_pFindDialog == nullptr || event.GetEventObject() != m_pFindDialog) return;
    // Destroyed without closing (its owner went first): it is gone, and the
    // saved texts and flags stay as they were.
    m_pFindDialog = nullptr;
    m_state.OnFindReplace(CFindState::kFrDialogTerm | m_state.FindFlags(), m_state.FindText(), m_state.ReplaceText());
}

void CFindController::OnFindDialogEvent(wxFindDialogEvent& event) {
    const std::uint32_t action = ActionOf(event.GetEventType());
    const std::uint32_t flags = action | FlagsFromDialog(event.GetFlags());
    const std::string findText = Utf8(event.GetFindString());
    // A find dialog has no replacement field; the saved replacement text
    // then stays for the next replace dialog.
    const bool replaceDialog = m_pFindDialog != nullptr && m_pFindDialog->HasFlag(wxFR_REPLACEDIALOG);
    const std::string replaceText = replaceDialog ? Utf8(event.GetReplaceString()) : m_state.ReplaceText();

    wxStyledTextCtrl* control = action == CFindState::kFrReplaceAll && m_activeControl ? m_activeControl() : nullptr;
    // Replace All is undone as one step.
    if (control != nullptr) control->BeginUndoAction();
    m_state.OnFindReplace(flags, findText, replaceText);
    if (control != nullptr) control->EndUndoAction();

    if (action == CFindState::kFrDialogTerm && m_pFindDialog != nullptr) {
        // The dialog only hides itself; it goes away once this report is done.
        BindDialog(false);
        m_pFindDialog->Destroy();
        m_pFindDialog = nullptr;
    }
}
