#pragma once

#include "panes/search_target.h"

class wxStyledTextCtrl;

// Find and replace on a pane's text control: Scintilla's target search (its
// match-case and whole-word flags have the values of CSearchTarget's) and
// byte positions.
class CStcSearchTarget : public CSearchTarget {
public:
    explicit CStcSearchTarget(wxStyledTextCtrl& control) noexcept : m_control(control) {}

    long GetSelectionStart() const override;
    long GetSelectionEnd() const override;
    void SetSelection(long start, long end) override;
    void ShowSelection() override;
    std::optional<Match> Find(std::string_view text, std::uint32_t flags, long start, long end = -1) override;
    // Works on a read-only control too: the output pane does not let the
    // user type, but Replace changes it.
    void ReplaceSelection(std::string_view text) override;

private:
    // pos within the text and moved out of a UTF-8 character, forward
    // (step 1) or backward (step -1).
    long CharacterBoundary(long pos, int step) const;

    wxStyledTextCtrl& m_control;
};
