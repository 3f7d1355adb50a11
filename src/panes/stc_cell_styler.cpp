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

void CStcCellStyler::DefineNewStyles() {
    const auto& sizes = m_fit->StyleSizes();
    if (sizes.size() == m_nDefinedStyles) return;
    for (const auto& [style, size] : sizes) m_control.StyleSetSizeFractional(style, size);
    m_nDefinedStyles = sizes.size();
}
