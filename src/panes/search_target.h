#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// The text that find and replace work on: a pane's text with its selection.
// Positions are byte offsets into the UTF-8 text; a match never starts or
// ends inside a character.
class CSearchTarget {
public:
    // Search flags; the values of the find dialog's match-case and
    // whole-word boxes.
    static constexpr std::uint32_t kWholeWord = 2;
    static constexpr std::uint32_t kMatchCase = 4;

    struct Match {
        long start;
        long end;
        bool operator==(const Match&) const = default;
    };

    virtual ~CSearchTarget() = default;

    virtual long GetSelectionStart() const = 0;
    virtual long GetSelectionEnd() const = 0;
    // Selects start to end (end -1: to the end of the text); start == end
    // puts the caret there.
    virtual void SetSelection(long start, long end) = 0;
    // Scrolls the selection into view: one that was off screen comes to the
    // middle of the view, one already on screen leaves the view as it is.
    virtual void ShowSelection() = 0;

    // The first match of text with flags at or after start and ending at or
    // before end (-1: the end of the text), searching forward only.
    virtual std::optional<Match> Find(std::string_view text, std::uint32_t flags, long start, long end = -1) = 0;

    // Replaces the selection with text, also in a pane the user cannot type
    // into; afterwards the caret stands at the end of the inserted text.
    virtual void ReplaceSelection(std::string_view text) = 0;
};
