#pragma once

#include "panes/find_ui.h"
#include "panes/search_target.h"

#include <cstdint>
#include <optional>
#include <string>

// Find and replace in the active pane: the saved search state and the three
// commands Find, Replace and Find Next, plus the reports of the modeless
// dialog. Searches run forward from a start position to the end of the text
// and never wrap. At most one dialog is open at a time.
class CFindState {
public:
    // Bits of a dialog report (also the search flags for the two boxes).
    static constexpr std::uint32_t kFrWholeWord = CSearchTarget::kWholeWord;  // 2
    static constexpr std::uint32_t kFrMatchCase = CSearchTarget::kMatchCase;  // 4
    static constexpr std::uint32_t kFrFindNext = 8;
    static constexpr std::uint32_t kFrReplace = 16;
    static constexpr std::uint32_t kFrReplaceAll = 32;
    static constexpr std::uint32_t kFrDialogTerm = 64;

    explicit CFindState(CFindUi& ui) : m_ui(ui) {}
    CFindState(const CFindState&) = delete;
    CFindState& operator=(const CFindState&) = delete;

    // Find / Replace: bring an open dialog (of either kind) to the front, or
    // open a new one preset with the saved texts and flags.
    void OnEditFind();
    void OnEditReplace();

    // Find Next: search the saved text from the end of the selection; with
    // no saved text, do what Find does.
    void OnFindNext();

    // A report of the dialog: flags holds one of kFrFindNext, kFrReplace,
    // kFrReplaceAll, kFrDialogTerm and the state of the two boxes; the texts
    // are the dialog's current search and replacement texts.
    void OnFindReplace(std::uint32_t flags, const std::string& findText, const std::string& replaceText);

    const std::string& FindText() const noexcept { return m_strFind; }
    const std::string& ReplaceText() const noexcept { return m_strReplace; }
    std::uint32_t FindFlags() const noexcept { return m_dwFindFlags; }
    bool IsDialogOpen() const noexcept { return m_bDialogOpen; }
    std::optional<long> LastFindEnd() const noexcept { return m_nLastFindEnd; }

private:
    void OpenDialog(CFindUi::DialogKind kind);
    // Where a dialog search starts when not from the selection: the end of
    // the last match, or the end of the selection while nothing was found yet.
    long LastFindEndOr(const CSearchTarget& target) const;
    // The dialog's Find Next (replace false) or Replace (replace true).
    void FindFromDialog(CSearchTarget& target, bool replace, const std::string& findText,
                        const std::string& replaceText);
    void ReplaceAll(CSearchTarget& target, const std::string& findText, const std::string& replaceText);
    // Whether the selection is exactly one match of findText.
    bool SelectionIsMatch(CSearchTarget& target, const std::string& findText) const;
    // Selects a match found by Find, Find Next or Replace and shows it.
    void SelectMatch(CSearchTarget& target, const CSearchTarget::Match& match);
    std::optional<CSearchTarget::Match> Search(CSearchTarget& target, const std::string& findText, long start) const;

    CFindUi& m_ui;
    std::string m_strFind;
    std::string m_strReplace;
    std::optional<long> m_nLastFindEnd;
    std::uint32_t m_dwFindFlags = 0;
    bool m_bFindFromSelection = false;
    bool m_bDialogOpen = false;
};
