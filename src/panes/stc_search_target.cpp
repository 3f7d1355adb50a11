#include "panes/stc_search_target.h"

#include "panes/stc_writable_scope.h"

#include <wx/stc/stc.h>

#include <algorithm>

static_assert(wxSTC_FIND_MATCHCASE == CSearchTarget::kMatchCase);
static_assert(wxSTC_FIND_WHOLEWORD == CSearchTarget::kWholeWord);

namespace {

bool IsContinuationByte(int byte) { return (byte & 0xC0) == 0x80; }

}  // namespace

long CStcSearchTarget::GetSelectionStart() const { return m_control.GetSelectionStart(); }

long CStcSearchTarget::GetSelectionEnd() const { return m_control.GetSelectionEnd(); }

void CStcSearchTarget::SetSelection(long start, long end) { m_control.SetSelection(start, end); }

void CStcSearchTarget::ShowSelection() {
    const int start = m_control.GetSelectionStart();
    const int end = m_control.GetSelectionEnd();
    // Selecting does not scroll. A line off screen comes to the middle of the
    // view, so that the lines around the match are seen too.
    const int line = m_control.VisibleFromDocLine(m_control.LineFromPosition(start));
    const int first = m_control.GetFirstVisibleLine();
    const int lines = m_control.LinesOnScreen();
    if (line < first || line >= first + lines) m_control.SetFirstVisibleLine(std::max(0, line - lines / 2));
    // Sideways (and on a line now on screen, not up or down) as far as the
    // match needs, its start first.
    m_control.ScrollRange(end, start);
}

long CStcSearchTarget::CharacterBoundary(long pos, int step) const {
    const long length = m_control.GetLength();
    pos = std::clamp(pos, 0L, length);
    if (m_control.GetCodePage() == wxSTC_CP_UTF8) {
        while (pos > 0 && pos < length && IsContinuationByte(static_cast<unsigned char>(m_control.GetCharAt(pos)))) {
            pos += step;
        }
    }
    return pos;
}

std::optional<CSearchTarget::Match> CStcSearchTarget::Find(std::string_view text, std::uint32_t flags, long start,
                                                           long end) {
    // The search text goes to the control as the same UTF-8 bytes; a text
    // that is not valid UTF-8 cannot stand in the pane as one match.
    const wxString pattern = wxString::FromUTF8(text.data(), text.size());
    if (text.empty() || pattern.empty()) return std::nullopt;
    // A range that cuts a character is narrowed to the whole characters in it.
    const long from = CharacterBoundary(start, 1);
    const long to = end < 0 ? m_control.GetLength() : CharacterBoundary(end, -1);
    if (from >= to) return std::nullopt;
    m_control.SetTargetStart(static_cast<int>(from));
    m_control.SetTargetEnd(static_cast<int>(to));
    m_control.SetSearchFlags(static_cast<int>(flags & (wxSTC_FIND_MATCHCASE | wxSTC_FIND_WHOLEWORD)));
    if (m_control.SearchInTarget(pattern) < 0) return std::nullopt;
    return Match{m_control.GetTargetStart(), m_control.GetTargetEnd()};
}

void CStcSearchTarget::ReplaceSelection(std::string_view text) {
    const long start = m_control.GetSelectionStart();
    const long end = m_control.GetSelectionEnd();
    {
        CStcWritableScope writable(m_control);
        m_control.SetTargetStart(static_cast<int>(start));
        m_control.SetTargetEnd(static_cast<int>(end));
        m_control.ReplaceTargetRaw(text.empty() ? "" : text.data(), static_cast<int>(text.size()));
    }
    const long caret = start + static_cast<long>(text.size());
    m_control.SetSelection(caret, caret);
}
