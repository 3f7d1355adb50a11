#pragma once

#include <wx/stc/stc.h>

// Lifts a text control's read-only state while the program changes its text,
// and restores it on every way out.
class CStcWritableScope {
public:
    explicit CStcWritableScope(wxStyledTextCtrl& control)
        : m_control(control), m_bWasReadOnly(control.GetReadOnly()) {
        if (m_bWasReadOnly) m_control.SetReadOnly(false);
    }
    CStcWritableScope(const CStcWritableScope&) = delete;
    CStcWritableScope& operator=(const CStcWritableScope&) = delete;
    ~CStcWritableScope() {
        if (m_bWasReadOnly) m_control.SetReadOnly(true);
    }

private:
    wxStyledTextCtrl& m_control;
    bool m_bWasReadOnly;
};
