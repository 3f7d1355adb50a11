#pragma once

#include "panes/search_target.h"

#include <string>

// A search target over a std::string with the control's rules: case folding
// of ASCII letters, words of letters, digits, '_' and every non-ASCII byte,
// and no match starting inside a UTF-8 character.
class FakeSearchTarget : public CSearchTarget {
public:
    explicit FakeSearchTarget(std::string text = {}) : text(std::move(text)) {}

    long GetSelectionStart() const override { return selStart; }
    long GetSelectionEnd() const override { return selEnd; }
    void SetSelection(long start, long end) override;
    std::optional<Match> Find(std::string_view pattern, std::uint32_t flags, long start, long end = -1) override;
    void ReplaceSelection(std::string_view replacement) override;

    std::string text;
    long selStart = 0;
    long selEnd = 0;
};
