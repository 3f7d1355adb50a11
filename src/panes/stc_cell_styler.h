#pragma once

#include "panes/cell_fit.h"

#include <wx/colour.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

class wxStyledTextCtrl;
class wxStyledTextEvent;

// Styles a pane's text as the control shows it: every byte gets the colour
// class that the pane's classifier (or the control's own lexer) gives it,
// and every character fills whole cells of the pane font (see CCellFit). A
// character that needs another font size gets a style of its own for its
// pair of class and size, in its class's colour. The text itself is never
// touched. Binds to the control for its lifetime.
class CStcCellStyler {
public:
    // Classes are style numbers below kFirstCombined; 0 is plain text.
    static constexpr int kFirstCombined = 40;

    // Writes the class of each byte of text (text.size() bytes). text begins
    // at a line start outside any token; the line end before a line start
    // has class 0 exactly when classifying may begin there.
    using Classifier = std::function<void(std::string_view text, unsigned char* classes)>;

    explicit CStcCellStyler(wxStyledTextCtrl& control);
    ~CStcCellStyler();
    CStcCellStyler(const CStcCellStyler&) = delete;
    CStcCellStyler& operator=(const CStcCellStyler&) = delete;

    // The classes come from classifier (none: all text is plain), and the
    // text is styled anew.
    void SetClassifier(Classifier classifier);
    // The control's lexer (a wxSTC_LEX_ value) with its keywords gives the
    // classes; the styler then only fits the characters.
    void SetLexer(int lexer, const wxString& keywords);

    // For a control whose text changes only through its owner, which then
    // reports every insertion (Inserted): text inserted beyond all that the
    // styler has written holds style 0, as the control gives new text, and
    // where it stays plain it is passed over instead of written again. The
    // control writes style bytes a call per byte: for a large transcript
    // that was the bulk of the styling. Not for a control with a lexer.
    void TrackInsertions();
    void Inserted(int position, int length);

    // The colour of each class (the others keep style 0's).
    void SetClassColours(std::vector<std::pair<int, wxColour>> colours);

    // The pane font has changed (its style was copied to every style):
    // measures its cell anew and restyles the text as it is drawn.
    void Reset();

private:
    void OnStyleNeeded(wxStyledTextEvent& event);
    void OnModified(wxStyledTextEvent& event);
    // Fits the lines the lexer has styled since the last time.
    void FitLexedLines();
    // Classifies and fits one piece of the text from start (a line start)
    // on; returns where the piece ended.
    int StylePiece(int start, int end);
    // Fits the characters of text, whose classes are in m_styles, and makes
    // m_styles the styles to draw it in. False when it is all ASCII and
    // plain (style 0 throughout).
    bool Fit(std::string_view text);
    // The style of class drawn at the size of the fit's slot.
    int Combined(int cls, int slot);
    void ApplyColour(int style, int cls);
    // Puts the probe style back to the pane font's size and takes off again
    // the height that larger styles add to every line.
    void KeepLineHeight();
    void StyleAll();

    wxStyledTextCtrl& m_control;
    Classifier m_classifier;
    bool m_bLexer = false;
    bool m_bRestyling = false;
    std::optional<CCellFit> m_fit;
    int m_nLineHeight = 0;   // of the pane font alone
    std::map<std::pair<int, int>, int> m_combined;   // by {class, slot}
    unsigned char m_classOfStyle[256] = {};
    int m_nNextCombined = kFirstCombined;
    // The probe style has been set to another size than the pane font's.
    bool m_bProbed = false;
    // How many sizes the line height was last kept for.
    std::size_t m_nSizes = 0;
    std::map<int, wxColour> m_colours;
    std::vector<unsigned char> m_styles;
    // The stretch the lexer styled that waits to be fitted.
    std::optional<std::pair<int, int>> m_pending;
    // Lets a fitting queued on the control know whether the styler is gone.
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
    std::vector<unsigned char> m_slots;
    // With insertions tracked: every style byte from here on is 0.
    std::optional<int> m_nWrittenEnd;
};
