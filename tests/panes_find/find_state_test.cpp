// Find and replace without a window: CFindState over a text in memory.
#include "panes/find_state.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace {

using Match = CSearchTarget::Match;
using Kind = CFindUi::DialogKind;
constexpr std::uint32_t kCase = CFindState::kFrMatchCase;
constexpr std::uint32_t kWord = CFindState::kFrWholeWord;

// A text with the control's search rules: ASCII case folding, words of
// letters, digits, '_' and every non-ASCII byte.
class FakeSearchTarget : public CSearchTarget {
public:
    long GetSelectionStart() const override { return selection.start; }
    long GetSelectionEnd() const override { return selection.end; }
    void SetSelection(long start, long end) override {
        const long length = static_cast<long>(text.size());
        selection.start = std::clamp(start, 0L, length);
        selection.end = end < 0 ? length : std::clamp(end, selection.start, length);
    }
    std::optional<Match> Find(std::string_view pattern, std::uint32_t flags, long start, long end) override {
        const long length = static_cast<long>(text.size());
        const long size = static_cast<long>(pattern.size());
        const auto same = [flags](char a, char b) {
            const auto lower = [](char c) { return std::tolower(static_cast<unsigned char>(c)); };
            return (flags & kMatchCase) ? a == b : lower(a) == lower(b);
        };
        const auto inWord = [this](long at) {
            const auto c = static_cast<unsigned char>(text[static_cast<std::size_t>(at)]);
            return std::isalnum(c) || c == '_' || c >= 0x80;
        };
        for (long at = std::max(start, 0L); size > 0 && at + size <= (end < 0 ? length : end); ++at) {
            if (!std::equal(pattern.begin(), pattern.end(), text.begin() + at, same)) continue;
            const bool wordAround = (at > 0 && inWord(at - 1)) || (at + size < length && inWord(at + size));
            if ((flags & kWholeWord) && wordAround) continue;
            return Match{at, at + size};
        }
        return std::nullopt;
    }
    void ReplaceSelection(std::string_view replacement) override {
        const auto start = static_cast<std::size_t>(selection.start);
        text.replace(start, static_cast<std::size_t>(selection.end) - start, replacement);
        selection.start = selection.end = selection.start + static_cast<long>(replacement.size());
    }

    std::string text;
    Match selection{0, 0};
};

struct OpenedDialog {
    Kind kind;
    std::string find, replace;
    std::uint32_t flags;
};

class FindStateTest : public ::testing::Test, public CFindUi {
protected:
    CSearchTarget* ActiveTarget() override { return &target; }
    bool OpenDialog(Kind kind, const std::string& find, const std::string& replace, std::uint32_t flags) override {
        opened.push_back({kind, find, replace, flags});
        return true;
    }
    void BringDialogToFront() override { ++broughtToFront; }
    void ShowNotFound() override { ++notFound; }

    // A fresh state over text with the selection start..end, and its dialog of kind open.
    void Start(const std::string& text, Kind kind, long start = 0, long end = 0) {
        target.text = text;
        target.SetSelection(start, end);
        opened.clear();
        broughtToFront = notFound = 0;
        state.emplace(*this);
        kind == Kind::find ? state->OnEditFind() : state->OnEditReplace();
    }
    // The dialog's buttons, and its closing.
    void Press(std::uint32_t button, const std::string& find, const std::string& with = "", std::uint32_t boxes = 0) {
        state->OnFindReplace(button | boxes, find, with);
    }

    FakeSearchTarget target;
    std::optional<CFindState> state{std::in_place, *this};
    std::vector<OpenedDialog> opened;
    int broughtToFront = 0;
    int notFound = 0;
};

constexpr std::uint32_t kFind = CFindState::kFrFindNext;
constexpr std::uint32_t kReplace = CFindState::kFrReplace;
constexpr std::uint32_t kReplaceAll = CFindState::kFrReplaceAll;
constexpr std::uint32_t kClose = CFindState::kFrDialogTerm;

TEST_F(FindStateTest, DialogFindNextRunsForwardWithoutWrapping) {
    struct Case {
        const char* name;
        std::string text;
        Match selection;
        std::string find;
        std::uint32_t boxes;
        std::vector<std::optional<Match>> presses;  // none: "Search string not found"
    };
    const Case cases[] = {
        {"three matches then none", "abc abc abc", {0, 0}, "abc", 0,
         {Match{0, 3}, Match{4, 7}, Match{8, 11}, std::nullopt}},
        {"starts at the selection's end", "abc abc abc", {1, 5}, "abc", 0, {Match{8, 11}, std::nullopt}},
        {"match case on", "select Select", {0, 0}, "Select", kCase, {Match{7, 13}, std::nullopt}},
        {"match case off", "select Select", {0, 0}, "Select", 0, {Match{0, 6}, Match{7, 13}}},
        {"whole word", "concat cat cats cat", {0, 0}, "cat", kWord, {Match{7, 10}, Match{16, 19}, std::nullopt}},
        {"multi-byte text around matches", "\xC3\xA9 abc \xC3\xBC abc", {0, 0}, "abc", 0,
         {Match{3, 6}, Match{10, 13}, std::nullopt}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Start(c.text, Kind::find, c.selection.start, c.selection.end);
        Match selection = c.selection;
        int misses = 0;
        for (std::size_t press = 0; press < c.presses.size(); ++press) {
            SCOPED_TRACE("press " + std::to_string(press + 1));
            const std::optional<long> lastEnd = state->LastFindEnd();
            Press(kFind, c.find, "", c.boxes);
            if (c.presses[press]) selection = *c.presses[press];
            misses += c.presses[press] ? 0 : 1;
            EXPECT_EQ(target.selection, selection);
            EXPECT_EQ(state->LastFindEnd(), c.presses[press] ? std::optional<long>(selection.end) : lastEnd);
            EXPECT_EQ(notFound, misses);
            EXPECT_EQ(broughtToFront, misses);  // the dialog comes back after the message
        }
        EXPECT_EQ(target.text, c.text);
    }
}

TEST_F(FindStateTest, OneDialogAtATimeAndClosingSavesItsTextsAndBoxes) {
    target.text = "abc";
    state->OnFindNext();  // nothing searched yet: the same as Find
    state->OnEditReplace();
    state->OnEditFind();
    state->OnFindNext();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].kind, Kind::find);
    EXPECT_EQ(broughtToFront, 3);
    EXPECT_EQ(notFound, 0);
    EXPECT_EQ(target.selection, (Match{0, 0}));

    Press(kClose, "abc", "xyz", kCase | kWord);
    EXPECT_FALSE(state->IsDialogOpen());
    EXPECT_EQ(state->FindText(), "abc");
    EXPECT_EQ(state->ReplaceText(), "xyz");
    EXPECT_EQ(state->FindFlags(), kCase | kWord);
    state->OnEditReplace();
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[1].kind, Kind::replace);
    EXPECT_EQ(opened[1].find, "abc");
    EXPECT_EQ(opened[1].replace, "xyz");
    EXPECT_EQ(opened[1].flags, kCase | kWord);
}

// Where a search starts after the user moved the selection, closed the dialog
// or pressed F3, and when Replace leaves the selection alone.
TEST_F(FindStateTest, SearchesStartFromTheLastMatchOrTheSelection) {
    const auto click = [this](long start, long end) { target.SetSelection(start, end); };
    struct Case {
        const char* name;
        std::string text;
        Kind kind;
        std::function<void()> act;
        std::string textAfter;
        Match selection;
        int notFound;
    };
    const Case cases[] = {
        {"F3 after the dialog closed starts at a click after the first match", "abc abc abc", Kind::find,
         [&] { Press(kFind, "abc"); Press(kClose, "abc"); click(5, 5); state->OnFindNext(); state->OnFindNext(); },
         "abc abc abc", {8, 11}, 1},
        {"a click while the dialog is open is not where it goes on", "abc abc abc", Kind::find,
         [&] { Press(kFind, "abc"); click(9, 9); Press(kFind, "abc"); }, "abc abc abc", {4, 7}, 0},
        {"a click counts until something was found", "abc xx abc", Kind::find,
         [&] { Press(kFind, "zzz"); click(5, 5); Press(kFind, "abc"); }, "abc xx abc", {7, 10}, 1},
        {"F3 with the dialog open takes the saved text and the last boxes", "Select select", Kind::find,
         [&] { Press(kClose, "select"); state->OnEditFind(); Press(kFind, "zzz", "", kCase); state->OnFindNext(); },
         "Select select", {7, 13}, 1},
        {"Replace leaves a selection the user moved", "x x x", Kind::replace,
         [&] { Press(kReplace, "x", "y"); click(1, 3); Press(kReplace, "x", "y"); }, "x x x", {2, 3}, 0},
        {"Replace leaves a selection that no longer matches", "X x", Kind::replace,
         [&] { Press(kReplace, "x", "y"); Press(kReplace, "x", "y", kCase); }, "X x", {2, 3}, 0},
        {"Replace All after a search starts at the last match", "a a a", Kind::replace,
         [&] { Press(kReplace, "a", "b"); click(0, 0); Press(kReplaceAll, "a", "b"); }, "a b b", {5, 5}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Start(c.text, c.kind);
        c.act();
        EXPECT_EQ(target.text, c.textAfter);
        EXPECT_EQ(target.selection, c.selection);
        EXPECT_EQ(notFound, c.notFound);
    }
}

TEST_F(FindStateTest, ReplaceFindsFirstThenReplacesTheMatchAndFindsTheNext) {
    struct Step {
        std::string text;
        Match selection;
        int notFound;  // messages so far
    };
    struct Case {
        const char* name;
        std::string text, find, replace;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        // The caret after the last replacement is no match: nothing more is inserted there.
        {"same length", "x x x", "x", "y",
         {{"x x x", {0, 1}, 0}, {"y x x", {2, 3}, 0}, {"y y x", {4, 5}, 0}, {"y y y", {5, 5}, 1},
          {"y y y", {5, 5}, 2}}},
        {"replacement holding the search text", "a a", "a", "ba",
         {{"a a", {0, 1}, 0}, {"ba a", {3, 4}, 0}, {"ba ba", {5, 5}, 1}, {"ba ba", {5, 5}, 2}}},
        {"empty replacement", "ab ab", "ab", "", {{"ab ab", {0, 2}, 0}, {" ab", {1, 3}, 0}, {" ", {1, 1}, 1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Start(c.text, Kind::replace);
        for (const Step& step : c.steps) {
            Press(kReplace, c.find, c.replace);
            EXPECT_EQ(target.text, step.text);
            EXPECT_EQ(target.selection, step.selection);
            EXPECT_EQ(notFound, step.notFound);
        }
    }
}

TEST_F(FindStateTest, ReplaceAllReplacesEveryMatchAfterTheStartWithoutMessage) {
    struct Case {
        const char* name;
        std::string text;
        Match selection;
        std::string find, replace;
        std::uint32_t boxes;
        std::string result;
    };
    const Case cases[] = {
        {"replacement holding the search text", "aaa", {0, 0}, "a", "ba", 0, "bababa"},
        {"empty replacement", "aaaa", {0, 0}, "aa", "", 0, ""},
        {"only after the selection", "a a a", {1, 2}, "a", "b", 0, "a b b"},
        {"match case on", "Select select", {0, 0}, "select", "x", kCase, "Select x"},
        {"match case off", "Select select", {0, 0}, "select", "x", 0, "x x"},
        {"whole word", "cat concat cat", {0, 0}, "cat", "dog", kWord, "dog concat dog"},
        {"nothing found", "none here", {0, 0}, "zzz", "y", 0, "none here"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Start(c.text, Kind::replace, c.selection.start, c.selection.end);
        Press(kReplaceAll, c.find, c.replace, c.boxes);
        EXPECT_EQ(target.text, c.result);
        EXPECT_EQ(notFound, 0);
        EXPECT_EQ(broughtToFront, 1);
    }
}

}  // namespace
