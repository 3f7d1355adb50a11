#include "panes/stc_cell_styler.h"

#include "common/display_text.h"

#include <wx/stc/stc.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

namespace {

// The style that characters are measured in; combined styles are below it.
constexpr int kProbeStyle = CCellFit::kLastStyle + 1;
constexpr int kLastCombined = kProbeStyle - 1;

// Scintilla's "style the next bytes, one style byte each", which the
// control's class does not wrap.
constexpr int kSciSetStylingEx = 2073;

// Text is classified and styled in pieces of about this many bytes.
constexpr std::size_t kPiece = std::size_t{1} << 16;

// The bits set in any of the bytes, gathered eight bytes at a time without
// an early exit, so the compiler can vectorise the loop: a large transcript
// passes through here once.
std::uint64_t OrOfBytes(const unsigned char* bytes, std::size_t size) {
    std::uint64_t any = 0;
    std::size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes + i, 8);
        any |= word;
    }
    for (; i < size; ++i) any |= bytes[i];
    return any;
}

bool IsAscii(std::string_view text) {
    return (OrOfBytes(reinterpret_cast<const unsigned char*>(text.data()), text.size()) & 0x8080808080808080u) == 0;
}

}  // namespace

CStcCellStyler::CStcCellStyler(wxStyledTextCtrl& control) : m_control(control) {
    m_control.SetLexer(wxSTC_LEX_CONTAINER);
    m_control.Bind(wxEVT_STC_STYLENEEDED, &CStcCellStyler::OnStyleNeeded, this);
    m_control.Bind(wxEVT_STC_MODIFIED, &CStcCellStyler::OnModified, this);
    Reset();
}

CStcCellStyler::~CStcCellStyler() {
    m_control.Unbind(wxEVT_STC_STYLENEEDED, &CStcCellStyler::OnStyleNeeded, this);
    m_control.Unbind(wxEVT_STC_MODIFIED, &CStcCellStyler::OnModified, this);
}

void CStcCellStyler::SetClassifier(Classifier classifier) {
    m_classifier = std::move(classifier);
    if (m_bLexer) {
        m_bLexer = false;
        m_control.SetModEventMask(m_control.GetModEventMask() & ~wxSTC_MOD_CHANGESTYLE);
        m_control.SetLexer(wxSTC_LEX_CONTAINER);
    }
    StyleAll();
}

void CStcCellStyler::SetLexer(int lexer, const wxString& keywords) {
    m_classifier = nullptr;
    m_nWrittenEnd.reset();
    m_bLexer = true;
    m_control.SetLexer(lexer);
    m_control.SetKeyWords(0, keywords);
    // The lexer's styling is seen as it happens, so that the characters it
    // styles are fitted before they are drawn.
    m_control.SetModEventMask(m_control.GetModEventMask() | wxSTC_MOD_CHANGESTYLE);
    StyleAll();
}

void CStcCellStyler::TrackInsertions() {
    // What the text holds now may have been styled by anyone.
    if (!m_bLexer) m_nWrittenEnd = m_control.GetTextLength();
}

void CStcCellStyler::Inserted(int position, int length) {
    // The bound may stay above the text (after a clear); it only has to
    // stay an int.
    if (m_nWrittenEnd && position < *m_nWrittenEnd)
        m_nWrittenEnd = static_cast<int>(std::min<long long>(std::numeric_limits<int>::max(),
                                                             static_cast<long long>(*m_nWrittenEnd) + length));
}

void CStcCellStyler::SetClassColours(std::vector<std::pair<int, wxColour>> colours) {
    m_colours.clear();
    for (auto& [cls, colour] : colours) m_colours[cls] = colour;
    for (const auto& [cls, colour] : m_colours) m_control.StyleSetForeground(cls, colour);
    for (const auto& [key, style] : m_combined) ApplyColour(style, key.first);
}

void CStcCellStyler::Reset() {
    m_control.SetExtraAscent(0);
    m_control.SetExtraDescent(0);
    m_nLineHeight = m_control.TextHeight(0);
    const int baseSize = m_control.StyleGetSizeFractional(wxSTC_STYLE_DEFAULT);
    const int cell = m_control.TextWidth(wxSTC_STYLE_DEFAULT, "0");
    wxStyledTextCtrl& control = m_control;
    bool& probed = m_bProbed;
    m_fit.emplace(baseSize, cell, [&control, &probed](int size, std::string_view character) {
        probed = true;
        control.StyleSetSizeFractional(kProbeStyle, size);
        return control.TextWidth(kProbeStyle, wxString::FromUTF8(character.data(), character.size()));
    });
    m_combined.clear();
    std::fill(std::begin(m_classOfStyle), std::end(m_classOfStyle), 0);
    for (int style = 0; style < kFirstCombined; ++style) m_classOfStyle[style] = static_cast<unsigned char>(style);
    m_nNextCombined = kFirstCombined;
    m_nSizes = 0;
    StyleAll();
}

void CStcCellStyler::StyleAll() {
    // Everything is styled anew as it is drawn.
    m_control.StartStyling(0);
}

void CStcCellStyler::OnStyleNeeded(wxStyledTextEvent& event) {
    int start = m_control.PositionFromLine(m_control.LineFromPosition(m_control.GetEndStyled()));
    // A classifier begins on a line that no token runs into.
    while (m_classifier && start > 0 && m_control.GetStyleAt(start - 1) != 0)
        start = m_control.PositionFromLine(m_control.LineFromPosition(start - 1));
    const int end = std::min(event.GetPosition(), m_control.GetTextLength());
    while (start < end) start = StylePiece(start, end);
}

int CStcCellStyler::StylePiece(int start, int end) {
    const int length = m_control.GetTextLength();
    std::size_t want = kPiece;
    int pieceEnd = end;
    std::string_view text;
    for (;;) {
        // Pieces end with a line; one that ends inside a token grows.
        pieceEnd = static_cast<std::size_t>(end - start) <= want
                       ? end
                       : std::min(length, m_control.PositionFromLine(
                                              m_control.LineFromPosition(start + static_cast<int>(want)) + 1));
        if (pieceEnd <= start) pieceEnd = length;
        text = std::string_view(m_control.GetRangePointer(start, pieceEnd - start),
                                static_cast<std::size_t>(pieceEnd - start));
        m_styles.assign(text.size(), 0);
        if (m_classifier) m_classifier(text, m_styles.data());
        if (pieceEnd >= end || m_styles.back() == 0) break;
        want *= 2;
    }
    m_control.StartStyling(start);
    if (Fit(text)) {
        m_control.SendMsg(kSciSetStylingEx, static_cast<wxUIntPtr>(text.size()),
                          reinterpret_cast<wxIntPtr>(m_styles.data()));
        if (m_nWrittenEnd) m_nWrittenEnd = std::max(*m_nWrittenEnd, pieceEnd);
    } else {
        // Plain: only what may hold other styles is written; the control is
        // then told the rest is styled.
        const int written = m_nWrittenEnd ? std::clamp(*m_nWrittenEnd - start, 0, pieceEnd - start) : pieceEnd - start;
        if (written > 0) m_control.SetStyling(written, 0);
        if (start + written < pieceEnd) m_control.StartStyling(pieceEnd);
    }
    KeepLineHeight();
    return pieceEnd;
}

bool CStcCellStyler::Fit(std::string_view text) {
    if (IsAscii(text)) return OrOfBytes(m_styles.data(), m_styles.size()) != 0;
    m_slots.resize(text.size());
    m_fit->Style(text, m_slots.data());
    for (std::size_t i = 0; i < text.size(); ++i) m_styles[i] = static_cast<unsigned char>(Combined(m_styles[i], m_slots[i]));
    return true;
}

// The lexer has styled a stretch of text. The control takes no styling
// while its lexer styles, so the stretch's lines are fitted just after,
// from the event queue (and drawn again then).
void CStcCellStyler::OnModified(wxStyledTextEvent& event) {
    event.Skip();
    if (!m_bLexer || m_bRestyling || (event.GetModificationType() & wxSTC_MOD_CHANGESTYLE) == 0) return;
    const int from = event.GetPosition();
    const int to = from + event.GetLength();
    if (m_pending) {
        m_pending->first = std::min(m_pending->first, from);
        m_pending->second = std::max(m_pending->second, to);
        return;
    }
    m_pending = std::pair{from, to};
    m_control.CallAfter([this, alive = std::weak_ptr<bool>(m_alive)] {
        if (alive.lock()) FitLexedLines();
    });
}

void CStcCellStyler::FitLexedLines() {
    if (!m_pending) return;
    const auto [begin, end] = *std::exchange(m_pending, std::nullopt);
    if (!m_bLexer) return;
    const int to = std::min({end, m_control.GetTextLength(), m_control.GetEndStyled()});
    const int endStyled = m_control.GetEndStyled();
    m_bRestyling = true;
    // Line by line, only the lines that hold more than ASCII (a long script
    // is mostly ASCII, and reading styles costs a call a byte).
    for (int at = std::max(begin, 0); at < to;) {
        const std::string_view rest(m_control.GetRangePointer(at, to - at), static_cast<std::size_t>(to - at));
        const auto wide = std::find_if(rest.begin(), rest.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
        if (wide == rest.end()) break;
        const int line = m_control.LineFromPosition(at + static_cast<int>(wide - rest.begin()));
        const int from = m_control.PositionFromLine(line);
        const int lineEnd = m_control.PositionFromLine(line + 1);
        const int upTo = std::min(lineEnd < 0 ? to : lineEnd, endStyled);
        if (upTo <= from) break;
        const std::string_view text(m_control.GetRangePointer(from, upTo - from), static_cast<std::size_t>(upTo - from));
        m_styles.resize(text.size());
        for (std::size_t i = 0; i < text.size(); ++i)
            m_styles[i] = m_classOfStyle[m_control.GetStyleAt(from + static_cast<int>(i)) & 0xFF];
        Fit(text);
        m_control.StartStyling(from);
        m_control.SendMsg(kSciSetStylingEx, static_cast<wxUIntPtr>(text.size()), reinterpret_cast<wxIntPtr>(m_styles.data()));
        at = upTo;
    }
    m_control.StartStyling(endStyled);
    m_bRestyling = false;
    KeepLineHeight();
}

int CStcCellStyler::Combined(int cls, int slot) {
    if (slot == 0) return cls;
    const auto known = m_combined.find({cls, slot});
    if (known != m_combined.end()) return known->second;
    // Out of styles: the character keeps its colour and loses its fit.
    if (m_nNextCombined > kLastCombined) return cls;
    const int style = m_nNextCombined++;
    m_combined.emplace(std::pair{cls, slot}, style);
    m_classOfStyle[style] = static_cast<unsigned char>(cls);
    m_control.StyleSetSizeFractional(style, m_fit->StyleSizes().at(slot));
    ApplyColour(style, cls);
    return style;
}

void CStcCellStyler::ApplyColour(int style, int cls) {
    const auto colour = m_colours.find(cls);
    m_control.StyleSetForeground(style, colour != m_colours.end() ? colour->second : m_control.StyleGetForeground(0));
}

// The control makes every line as tall as its tallest style, whether any
// text uses it or not: the probe goes back to the pane font's size, and the
// height that larger styles add is taken off again, so the lines keep the
// pane font's height (a glyph drawn larger may lose a pixel or two at its
// top and bottom; a widened space loses nothing).
void CStcCellStyler::KeepLineHeight() {
    if (m_bProbed) {
        m_bProbed = false;
        m_control.StyleSetSizeFractional(kProbeStyle, m_control.StyleGetSizeFractional(wxSTC_STYLE_DEFAULT));
    }
    if (m_fit->StyleSizes().size() == m_nSizes) return;
    m_nSizes = m_fit->StyleSizes().size();
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
