// Find and replace as CFindState runs them on a text control, with the dialog
// and the "not found" message counted instead of shown; and the search target
// alone: byte positions that never cut a UTF-8 character, and replacements in
// a control the user cannot type into.
#include "panes/find_state.h"
#include "panes/stc_search_target.h"
#include "stc_fixture.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace {

using Kind = CFindUi::DialogKind;
constexpr std::uint32_t kCase = CFindState::kFrMatchCase, kWord = CFindState::kFrWholeWord,
                        kFind = CFindState::kFrFindNext, kReplace = CFindState::kFrReplace,
                        kReplaceAll = CFindState::kFrReplaceAll, kClose = CFindState::kFrDialogTerm;

class FindStateTest : public StcFixture, public CFindUi {
protected:
    CSearchTarget* ActiveTarget() override { return &target.emplace(*control); }
    bool OpenDialog(Kind kind, const std::string&, const std::string&, std::uint32_t) override {
        opened.push_back(kind);
        return true;
    }
    void BringDialogToFront() override { ++broughtToFront; }
    void ShowNotFound() override { ++notFound; }

    // A fresh state over text with the selection, and its dialog of kind open.
    void Start(const std::string& text, Kind kind, Match selection = {0, 0}) {
        SetText(text);
        control->SetSelection(selection.start, selection.end);
        broughtToFront = notFound = 0;
        state.emplace(*this);
        kind == Kind::find ? state->OnEditFind() : state->OnEditReplace();
    }
    // The dialog's buttons, and its closing.
    void Press(std::uint32_t button, const std::string& find, const std::string& with = "", std::uint32_t boxes = 0) {
        state->OnFindReplace(button | boxes, find, with);
    }
    void Click(long start, long end) { control->SetSelection(start, end); }
    void F3() { state->OnFindNext(); }

    std::optional<CStcSearchTarget> target;
    std::optional<CFindState> state{std::in_place, *this};
    std::vector<Kind> opened;
    int broughtToFront = 0;
    int notFound = 0;
};

// One button pressed again and again: searches run forward and never wrap;
// Replace first finds, then replaces the match and finds the next; Replace
// All replaces every match after the start without a message.
TEST_F(FindStateTest, EachPressGoesOnForward) {
    // After each press: the selection, the "Search string not found" messages
    // so far, and the text (none: unchanged).
    struct Step { Match selection; int notFound; const char* text = nullptr; };
    struct Case { const char* name; std::string text; Match selection; std::uint32_t button; std::string find, with;
                  std::uint32_t boxes; std::vector<Step> steps; };
    const Case cases[] = {
        {"three matches then none", "abc abc abc", {0, 0}, kFind, "abc", "", 0,
         {{{0, 3}, 0}, {{4, 7}, 0}, {{8, 11}, 0}, {{8, 11}, 1}}},
        {"starts at the selection's end", "abc abc abc", {1, 5}, kFind, "abc", "", 0, {{{8, 11}, 0}, {{8, 11}, 1}}},
        {"match case on", "select Select", {0, 0}, kFind, "Select", "", kCase, {{{7, 13}, 0}, {{7, 13}, 1}}},
        {"match case off", "select Select", {0, 0}, kFind, "Select", "", 0, {{{0, 6}, 0}, {{7, 13}, 0}}},
        {"whole word", "concat cat cats cat", {0, 0}, kFind, "cat", "", kWord,
         {{{7, 10}, 0}, {{16, 19}, 0}, {{16, 19}, 1}}},
        {"multi-byte text around matches", "\xC3\xA9 abc \xC3\xBC abc", {0, 0}, kFind, "abc", "", 0,
         {{{3, 6}, 0}, {{10, 13}, 0}, {{10, 13}, 1}}},
        // The caret after the last replacement is no match: nothing more is inserted there.
        {"Replace, same length", "x x x", {0, 0}, kReplace, "x", "y", 0,
         {{{0, 1}, 0}, {{2, 3}, 0, "y x x"}, {{4, 5}, 0, "y y x"}, {{5, 5}, 1, "y y y"}, {{5, 5}, 2}}},
        {"Replace with the search text inside", "a a", {0, 0}, kReplace, "a", "ba", 0,
         {{{0, 1}, 0}, {{3, 4}, 0, "ba a"}, {{5, 5}, 1, "ba ba"}, {{5, 5}, 2}}},
        {"Replace with nothing", "ab ab", {0, 0}, kReplace, "ab", "", 0,
         {{{0, 2}, 0}, {{1, 3}, 0, " ab"}, {{1, 1}, 1, " "}}},
        {"Replace All with the search text inside", "aaa", {0, 0}, kReplaceAll, "a", "ba", 0, {{{6, 6}, 0, "bababa"}}},
        {"Replace All with nothing", "aaaa", {0, 0}, kReplaceAll, "aa", "", 0, {{{0, 0}, 0, ""}}},
        {"Replace All after the selection", "a a a", {1, 2}, kReplaceAll, "a", "b", 0, {{{5, 5}, 0, "a b b"}}},
        {"Replace All, match case on", "Select select", {0, 0}, kReplaceAll, "select", "x", kCase,
         {{{8, 8}, 0, "Select x"}}},
        {"Replace All, match case off", "Select select", {0, 0}, kReplaceAll, "select", "x", 0, {{{3, 3}, 0, "x x"}}},
        {"Replace All, whole word", "cat concat cat", {0, 0}, kReplaceAll, "cat", "dog", kWord,
         {{{14, 14}, 0, "dog concat dog"}}},
        {"Replace All finding nothing", "none here", {0, 0}, kReplaceAll, "zzz", "y", 0, {{{0, 0}, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Start(c.text, c.button == kFind ? Kind::find : Kind::replace, c.selection);
        std::string text = c.text;
        for (int press = 1; const Step& step : c.steps) {
            SCOPED_TRACE("press " + std::to_string(press++));
            const int missed = notFound, inFront = broughtToFront;
            Press(c.button, c.find, c.with, c.boxes);
            if (step.text != nullptr) text = step.text;
            EXPECT_EQ(std::tuple(Text(), Selection(), notFound), std::tuple(text, step.selection, step.notFound));
            // The dialog comes back to the front after the message and after Replace All.
            EXPECT_EQ(broughtToFront - inFront, c.button == kReplaceAll || notFound > missed);
        }
    }
}

TEST_F(FindStateTest, OneDialogAtATime) {
    SetText("abc");
    F3();  // nothing searched yet: the same as Find
    state->OnEditReplace();
    state->OnEditFind();
    F3();
    EXPECT_EQ(std::tuple(opened, broughtToFront, notFound, Selection()),
              std::tuple(std::vector<Kind>{Kind::find}, 3, 0, Match{0, 0}));
    Press(kClose, "abc");
    EXPECT_FALSE(state->IsDialogOpen());
    state->OnEditReplace();
    EXPECT_EQ(opened, (std::vector<Kind>{Kind::find, Kind::replace}));
}

// Where a search starts after the user moved the selection, closed the dialog
// or pressed F3, and when Replace leaves the selection alone.
TEST_F(FindStateTest, SearchesStartFromTheLastMatchOrTheSelection) {
    const struct { const char* name; std::string text; Kind kind; std::function<void()> act; std::string textAfter;
                   Match selection; int notFound; } cases[] = {
        {"F3 after the dialog closed starts at a click after the first match", "abc abc abc", Kind::find,
         [&] { Press(kFind, "abc"); Press(kClose, "abc"); Click(5, 5); F3(); F3(); },
         "abc abc abc", {8, 11}, 1},
        {"a click while the dialog is open is not where it goes on", "abc abc abc", Kind::find,
         [&] { Press(kFind, "abc"); Click(9, 9); Press(kFind, "abc"); }, "abc abc abc", {4, 7}, 0},
        {"a click counts until something was found", "abc xx abc", Kind::find,
         [&] { Press(kFind, "zzz"); Click(5, 5); Press(kFind, "abc"); }, "abc xx abc", {7, 10}, 1},
        {"F3 with the dialog open takes the saved text and the last boxes", "Select select", Kind::find,
         [&] { Press(kClose, "select"); state->OnEditFind(); Press(kFind, "zzz", "", kCase); F3(); },
         "Select select", {7, 13}, 1},
        {"F3 with the dialog open moves where the dialog goes on", "abc abc abc", Kind::find,
         [&] { Press(kClose, "abc"); state->OnEditFind(); Press(kFind, "abc"); F3(); Press(kFind, "abc"); },
         "abc abc abc", {8, 11}, 0},
        {"Replace leaves a selection the user moved", "x x x", Kind::replace,
         [&] { Press(kReplace, "x", "y"); Click(1, 3); Press(kReplace, "x", "y"); }, "x x x", {2, 3}, 0},
        {"Replace leaves a selection that no longer matches", "X x", Kind::replace,
         [&] { Press(kReplace, "x", "y"); Press(kReplace, "x", "y", kCase); }, "X x", {2, 3}, 0},
        {"Replace All after a search starts at the last match", "a a a", Kind::replace,
         [&] { Press(kReplace, "a", "b"); Click(0, 0); Press(kReplaceAll, "a", "b"); }, "a b b", {5, 5}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Start(c.text, c.kind);
        c.act();
        EXPECT_EQ(std::tuple(Text(), Selection(), notFound), std::tuple(c.textAfter, c.selection, c.notFound));
    }
}

using StcSearchTargetTest = StcFixture;
using namespace std::string_literals;

TEST_F(StcSearchTargetTest, FindStaysOnWholeCharacters) {
    const std::tuple<std::string, long, long, std::optional<Match>> cases[] = {  // text, from, to, match
        {"\xBC", 0, -1, std::nullopt},  // not UTF-8: no match inside a character
        {"\xC3\xBC", 1, -1, Match{2, 4}},  // a start inside a character moves past it
        {"\xC3\xBC", 3, -1, std::nullopt},
        {"\xC3\xBC", 400, -1, std::nullopt},
        {"\xC3\xBC", 0, 2, Match{0, 2}},
        {"\xC3\xBC", 1, 3, std::nullopt},
        {"", 0, -1, std::nullopt},
    };
    SetText("\xC3\xBC\xC3\xBC");
    CStcSearchTarget target(*control);
    for (const auto& [find, start, end, match] : cases)
        EXPECT_EQ(target.Find(find, 0, start, end), match) << find << " from " << start << " to " << end;
}

TEST_F(StcSearchTargetTest, ReplaceSelectionPutsInTheBytesAlsoWhenReadOnly) {
    SetText("a\xC3\xA9" "b", true);
    CStcSearchTarget target(*control);
    target.SetSelection(1, 3);
    target.ReplaceSelection("x\0\xE2\x82\xAC"s);
    EXPECT_EQ(std::pair(Text(), Selection()), std::pair("ax\0\xE2\x82\xAC" "b"s, Match{6, 6}));
    target.SetSelection(0, 2);
    target.ReplaceSelection("");
    EXPECT_EQ(std::pair(Text(), Selection()), std::pair("\0\xE2\x82\xAC" "b"s, Match{0, 0}));
    EXPECT_TRUE(control->GetReadOnly());
}

}  // namespace
