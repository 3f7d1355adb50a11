#pragma once

#include "panes/find_state.h"
#include "panes/find_ui.h"
#include "panes/stc_search_target.h"

#include <wx/fdrepdlg.h>

#include <functional>
#include <optional>

class wxStyledTextCtrl;
class wxWindow;

// The window side of find and replace: the modeless find or replace dialog
// (at most one, owned by the main window), its reports translated into
// CFindState, and the message boxes.
class CFindController : public CFindUi {
public:
    // The search and replacement fields take at most this many characters.
    static constexpr unsigned long kMaxFieldLength = 127;

    // activeControl returns the active pane's text control (none: no pane).
    CFindController(wxWindow* owner, std::function<wxStyledTextCtrl*()> activeControl);
    ~CFindController() override;
    CFindController(const CFindController&) = delete;
    CFindController& operator=(const CFindController&) = delete;

    void OnEditFind() { m_state.OnEditFind(); }
    void OnEditReplace() { m_state.OnEditReplace(); }
    void OnFindNext() { m_state.OnFindNext(); }

    const CFindState& GetState() const noexcept { return m_state; }
    // The open dialog, or none.
    wxFindReplaceDialog* GetDialog() const noexcept { return m_pFindDialog; }

protected:
    // A message box captioned "Tarnwell" with an exclamation icon.
    void ShowNotFound() override;

private:
    CSearchTarget* ActiveTarget() override;
    bool OpenDialog(DialogKind kind, const std::string& findText, const std::string& replaceText,
                    std::uint32_t flags) override;
    void BringDialogToFront() override;

    void OnFindDialogEvent(wxFindDialogEvent& event);
    void OnDialogDestroyed(wxWindowDestroyEvent& event);
    void BindDialog(bool bind);
    // Hides the direction choice, limits the fields and sizes the labels and
    // fields so that they show whole.
    void ArrangeControls();
    void GiveMnemonics();

    wxWindow* m_pOwner;
    std::function<wxStyledTextCtrl*()> m_activeControl;
    CFindState m_state;
    // The dialog's data; it lives as long as the dialog may read it.
    wxFindReplaceData m_findData;
    wxFindReplaceDialog* m_pFindDialog = nullptr;
    std::optional<CStcSearchTarget> m_target;
};
