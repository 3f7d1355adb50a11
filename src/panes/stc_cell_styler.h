#pragma once

#include "panes/cell_fit.h"

#include <optional>
#include <vector>

class wxStyledTextCtrl;
class wxStyledTextEvent;

// Styles a pane's text as the control shows it so that every character
// fills whole cells of the pane font (see CCellFit). The control asks for
// the styling of the text it is about to draw; the text itself is never
// touched. Binds to the control for its lifetime.
class CStcCellStyler {
public:
    explicit CStcCellStyler(wxStyledTextCtrl& control);
    ~CStcCellStyler();
    CStcCellStyler(const CStcCellStyler&) = delete;
    CStcCellStyler& operator=(const CStcCellStyler&) = delete;

    // The pane font has changed (its style was copied to every style):
    // measures its cell anew and restyles the text as it is drawn.
    void Reset();

private:
    void OnStyleNeeded(wxStyledTextEvent& event);
    // Gives the control's styles the sizes the fit has handed out.
    void DefineNewStyles();

    wxStyledTextCtrl& m_control;
    std::optional<CCellFit> m_fit;
    std::size_t m_nDefinedStyles = 0;
    int m_nLineHeight = 0;   // of the pane font alone
    std::vector<unsigned char> m_styles;
};
