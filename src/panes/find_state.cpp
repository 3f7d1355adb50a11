#include "panes/find_state.h"

namespace {

constexpr std::uint32_t kBoxFlags = CFindState::kFrMatchCase | CFindState::kFrWholeWord;

}  // namespace

void CFindState::OnEditFind() { OpenDialog(CFindUi::DialogKind::find); }

void CFindState::OnEditReplace() { OpenDialog(CFindUi::DialogKind::replace); }

void CFindState::OpenDialog(CFindUi::DialogKind kind) {
    // One dialog at a time, whichever kind is open.
    if (m_bDialogOpen) {
        m_ui.BringDialogToFront();
        return;
    }
    m_bFindFromSelection = true;
    m_bDialogOpen = m_ui.OpenDialog(kind, m_strFind, m_strReplace, m_dwFindFlags);
}

void CFindState::OnFindNext() {
    if (m_strFind.empty()) {
        OnEditFind();
        return;
    }
    CSearchTarget* target = m_ui.ActiveTarget();
    if (target == nullptr) return;
    const auto match = Search(*target, m_strFind, target->GetSelectionEnd());
    if (!match) {
        m_ui.ShowNotFound();
        return;
    }
    SelectMatch(*target, *match);
}

void CFindState::OnFindReplace(std::uint32_t flags, const std::string& findText, const std::string& replaceText) {
    m_dwFindFlags = 0;
    if (flags & kFrDialogTerm) {
        m_strFind = findText;
        m_strReplace = replaceText;
        m_dwFindFlags = flags & kBoxFlags;
        m_bDialogOpen = false;
        return;
    }
    if (flags & (kFrFindNext | kFrReplace)) {
        m_dwFindFlags = flags & kBoxFlags;
        if (CSearchTarget* target = m_ui.ActiveTarget()) {
            FindFromDialog(*target, (flags & kFrReplace) != 0, findText, replaceText);
        }
        return;
    }
    if (flags & kFrReplaceAll) {
        m_dwFindFlags = flags & kBoxFlags;
        if (CSearchTarget* target = m_ui.ActiveTarget()) ReplaceAll(*target, findText, replaceText);
    }
}

long CFindState::LastFindEndOr(const CSearchTarget& target) const {
    return m_nLastFindEnd ? *m_nLastFindEnd : target.GetSelectionEnd();
}

void CFindState::FindFromDialog(CSearchTarget& target, bool replace, const std::string& findText,
                                const std::string& replaceText) {
    long start = m_bFindFromSelection ? target.GetSelectionEnd() : LastFindEndOr(target);
    // Replace changes the selection only when it still is a match: after the
    // user moved it, or after a search that found nothing, the text stays as
    // it is and the search goes on from the last match.
    if (replace && !m_bFindFromSelection && SelectionIsMatch(target, findText)) {
        const long selectionStart = target.GetSelectionStart();
        target.ReplaceSelection(replaceText);
        start = selectionStart + static_cast<long>(replaceText.size());
        // The next search begins after the inserted text, even when this one
        // finds nothing, so a replacement is never searched again.
        m_nLastFindEnd = start;
    }
    const auto match = Search(target, findText, start);
    if (match) {
        SelectMatch(target, *match);
    } else {
        m_ui.ShowNotFound();
        m_ui.BringDialogToFront();
    }
    m_bFindFromSelection = false;
}

void CFindState::ReplaceAll(CSearchTarget& target, const std::string& findText, const std::string& replaceText) {
    for (;;) {
        long start;
        if (m_bFindFromSelection) {
            start = target.GetSelectionEnd();
            m_bFindFromSelection = false;
        } else {
            start = LastFindEndOr(target);
        }
        const auto match = Search(target, findText, start);
        if (!match) break;
        target.SetSelection(match->start, match->end);
        target.ReplaceSelection(replaceText);
        // Go on after the inserted text: the loop ends even when the
        // replacement is empty or holds the search text itself.
        m_nLastFindEnd = match->start + static_cast<long>(replaceText.size());
    }
    m_ui.BringDialogToFront();
}

void CFindState::SelectMatch(CSearchTarget& target, const CSearchTarget::Match& match) {
    m_nLastFindEnd = match.end;
    target.SetSelection(match.start, match.end);
    target.ShowSelection();
}

bool CFindState::SelectionIsMatch(CSearchTarget& target, const std::string& findText) const {
    const long start = target.GetSelectionStart();
    const long end = target.GetSelectionEnd();
    if (findText.empty() || end <= start) return false;
    const auto match = target.Find(findText, m_dwFindFlags, start, end);
    return match && *match == CSearchTarget::Match{start, end};
}

std::optional<CSearchTarget::Match> CFindState::Search(CSearchTarget& target, const std::string& findText,
                                                       long start) const {
    if (findText.empty()) return std::nullopt;
    const auto match = target.Find(findText, m_dwFindFlags, start);
    // An empty match would not move the search on; the control never
    // reports one for a non-empty text.
    if (match && match->end <= match->start) return std::nullopt;
    return match;
}
