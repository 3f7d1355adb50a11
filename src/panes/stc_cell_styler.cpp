#include "panes/stc_cell_styler.h"

#include "common/display_text.h"

#include <wx/stc/stc.h>

#include <algorithm>

#include <string>

namespace {

// The style that characters are measured in; the fit hands out lower ones.
constexpr int kProbeStyle = CCellFit::kLastStyle + 1;

// Scintilla's "style the next bytes, one style byte each", which the
// control's class does not wrap.
constexpr int kSciSetStylingEx = 2073;

// Text is styled in pieces of at most this many bytes.
constexpr std::size_t kPiece = std::size_t{1} << 16;

}  // namespace

CStcCellStyler::CStcCellStyler(wxStyledTextCtrl& control) : m_control(control) {
    m_control.SetLexer(wxSTC_LEX_CONTAINER);
    m_control.Bind(wxEVT_STC_STYLENEEDED, &CStcCellStyler::OnStyleNeeded, this);
    Reset();
}

CStcCellStyler::~CStcCellStyler() { m_control.Unbind(wxEVT_STC_STYLENEEDED, &CStcCellStyler::OnStyleNeeded, this); }

void CStcCellStyler::Reset() {
    m_control.SetExtraAscent(0);
    m_control.SetExtraDescent(0);
    m_nLineHeight = m_control.TextHeight(0);
    const int baseSize = m_control.StyleGetSizeFractional(wxSTC_STYLE_DEFAULT);
    const int cell = m_control.TextWidth(wxSTC_STYLE_DEFAULT, "0");
    wxStyledTextCtrl& control = m_control;
    m_fit.emplace(baseSize, cell, [&control](int size, std::string_view character) {
        control.StyleSetSizeFractional(kProbeStyle, size);
        return control.TextWidth(kProbeStyle, wxString::FromUTF8(character.data(), character.size()));
    });
    m_nDefinedStyles = 0;
    // Everything is styled anew as it is drawn.
    m_control.StartStyling(0);
}

void CStcCellStyler::OnStyleNeeded(wxStyledTextEvent& event) {
    int start = m_control.PositionFromLine(m_control.LineFromPosition(m_control.GetEndStyled()));
    const int end = std::min(event.GetPosition(), m_control.GetTextLength());
    // In pieces that end between characters; ASCII text needs no fitting.
    while (start < end) {
        const std::string_view rest(m_control.GetRangePointer(start, end - start), static_cast<std::size_t>(end - start));
        const std::string_view piece = rest.substr(0, std::max<std::size_t>(display_text::PrefixForBytes(rest, kPiece), 1));
        const int length = static_cast<int>(piece.size());
        if (std::all_of(piece.begin(), piece.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
            m_control.StartStyling(start);
            m_control.SetStyling(length, 0);
        } else {
            m_styles.resize(piece.size());
            m_fit->Style(piece, m_styles.data());
            DefineNewStyles();
            m_control.StartStyling(start);
            m_control.SendMsg(kSciSetStylingEx, static_cast<wxUIntPtr>(length),
                              reinterpret_cast<wxIntPtr>(m_styles.data()));
        }
        start += length;
    }
}

// The control makes every line as tall as its tallest style, whether any
// text uses it or not: the probe goes back to the pane font's size, and the
// height that larger styles add is taken off again, so the lines keep the
// pane font's height (a glyph drawn larger may lose a pixel or two at its
// top and bottom; a widened space loses nothing).
void CStcCellStyler::DefineNewStyles() {
    m_control.StyleSetSizeFractional(kProbeStyle, m_control.StyleGetSizeFractional(wxSTC_STYLE_DEFAULT));
    const auto& sizes = m_fit->StyleSizes();
    if (sizes.size() == m_nDefinedStyles) return;
    for (const auto& [style, size] : sizes) m_control.StyleSetSizeFractional(style, size);
    m_nDefinedStyles = sizes.size();
    m_control.SetExtraAscent(0);
    m_control.SetExtraDescent(0);
    const int grown = m_control.TextHeight(0) - m_nLineHeight;
    if (grown > 0) {
        // Ascent and descent grew as the pane font's own share them.
        int width = 0, height = 0, descent = 0;
        const wxFont font = m_control.StyleGetFont(wxSTC_STYLE_DEFAULT);
        m_control.GetTextExtent("Xg", &width, &height, &descent, nullptr, &font);
        const int lessDescent = height > 0 ? (grown * descent + height / 2) / height : grown / 2;
        m_control.SetExtraAscent(-(grown - lessDescent));
        m_control.SetExtraDescent(-lessDescent);
    }
}
