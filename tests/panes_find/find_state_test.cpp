#include "fake_search_target.h"
#include "panes/find_state.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using Match = CSearchTarget::Match;
using Kind = CFindUi::DialogKind;

struct OpenedDialog {
    Kind kind;
    std::string find;
    std::string replace;
    std::uint32_t flags;
};

class FakeFindUi : public CFindUi {
public:
    explicit FakeFindUi(FakeSearchTarget& target) : m_target(target) {}

    CSearchTarget* ActiveTarget() override { return &m_target; }
    bool OpenDialog(Kind kind, const std::string& find, const std::string& replace, std::uint32_t flags) override {
        opened.push_back({kind, find, replace, flags});
        return true;
    }
    void BringDialogToFront() override { ++broughtToFront; }
    void ShowNotFound() override { ++notFound; }

    std::vector<OpenedDialog> opened;
    int broughtToFront = 0;
    int notFound = 0;

private:
    FakeSearchTarget& m_target;
};

class FindStateTest : public ::testing::Test {
protected:
    void SetText(const std::string& text, long selStart = 0, long selEnd = 0) {
        target.text = text;
        target.SetSelection(selStart, selEnd);
    }
    Match Selection() const { return {target.selStart, target.selEnd}; }

    void FindNext(const std::string& find, std::uint32_t flags = 0) {
        state.OnFindReplace(CFindState::kFrFindNext | flags, find, "");
    }
    void Replace(const std::string& find, const std::string& replace, std::uint32_t flags = 0) {
        state.OnFindReplace(CFindState::kFrReplace | flags, find, replace);
    }
    void ReplaceAll(const std::string& find, const std::string& replace, std::uint32_t flags = 0) {
        state.OnFindReplace(CFindState::kFrReplaceAll | flags, find, replace);
    }
    void Close(const std::string& find, const std::string& replace, std::uint32_t flags = 0) {
        state.OnFindReplace(CFindState::kFrDialogTerm | flags, find, replace);
    }

    FakeSearchTarget target;
    FakeFindUi ui{target};
    CFindState state{ui};
};

constexpr std::uint32_t kCase = CFindState::kFrMatchCase;
constexpr std::uint32_t kWord = CFindState::kFrWholeWord;

// Presses of the find dialog's Find Next; none: "Search string not found".
struct PressCase {
    const char* name;
    std::string text;
    Match selection;
    std::string find;
    std::uint32_t flags;
    std::vector<std::optional<Match>> presses;
};

TEST_F(FindStateTest, DialogFindNextRunsForwardWithoutWrapping) {
    const std::vector<PressCase> cases = {
        {"three matches then none", "abc abc abc", {0, 0}, "abc", 0,
         {Match{0, 3}, Match{4, 7}, Match{8, 11}, std::nullopt, std::nullopt}},
        {"starts at the selection's end", "abc abc abc", {1, 5}, "abc", 0, {Match{8, 11}, std::nullopt}},
        {"match case on", "select", {0, 0}, "Select", kCase, {std::nullopt}},
        {"match case off", "select", {0, 0}, "Select", 0, {Match{0, 6}}},
        {"whole word", "concat cat cats cat", {0, 0}, "cat", kWord, {Match{7, 10}, Match{16, 19}, std::nullopt}},
        {"not whole word", "concat cat cats cat", {0, 0}, "cat", 0,
         {Match{3, 6}, Match{7, 10}, Match{11, 14}, Match{16, 19}, std::nullopt}},
        {"byte positions around multi-byte text", "\xC3\xA9 abc \xC3\xBC abc", {0, 0}, "abc", 0,
         {Match{3, 6}, Match{10, 13}, std::nullopt}},
        {"multi-byte search text", "a\xC3\xBC \xC3\xBC" "b \xC3\xBC", {0, 0}, "\xC3\xBC", 0,
         {Match{1, 3}, Match{4, 6}, Match{8, 10}, std::nullopt}},
    };
    for (const PressCase& c : cases) {
        SCOPED_TRACE(c.name);
        FakeSearchTarget caseTarget(c.text);
        caseTarget.SetSelection(c.selection.start, c.selection.end);
        FakeFindUi caseUi(caseTarget);
        CFindState caseState(caseUi);
        caseState.OnEditFind();
        int expectedNotFound = 0;
        Match selection = c.selection;
        for (std::size_t press = 0; press < c.presses.size(); ++press) {
            SCOPED_TRACE("press " + std::to_string(press + 1));
            const std::optional<long> lastEnd = caseState.LastFindEnd();
            caseState.OnFindReplace(CFindState::kFrFindNext | c.flags, c.find, "");
            if (c.presses[press]) {
                selection = *c.presses[press];
                EXPECT_EQ(caseState.LastFindEnd(), selection.end);
            } else {
                ++expectedNotFound;
                EXPECT_EQ(caseState.LastFindEnd(), lastEnd);
            }
            EXPECT_EQ((Match{caseTarget.selStart, caseTarget.selEnd}), selection);
            EXPECT_EQ(caseUi.notFound, expectedNotFound);
            // After a dialog search that found nothing the dialog comes back
            // to the front.
            EXPECT_EQ(caseUi.broughtToFront, expectedNotFound);
        }
        EXPECT_EQ(caseTarget.text, c.text);
    }
}

TEST_F(FindStateTest, FindNextWithoutSavedTextOpensTheFindDialog) {
    SetText("abc");
    state.OnFindNext();
    ASSERT_EQ(ui.opened.size(), 1u);
    EXPECT_EQ(ui.opened[0].kind, Kind::find);
    EXPECT_TRUE(state.IsDialogOpen());
    EXPECT_EQ(ui.notFound, 0);
    // Pressed again while that dialog is open: it comes to the front.
    state.OnFindNext();
    EXPECT_EQ(ui.opened.size(), 1u);
    EXPECT_EQ(ui.broughtToFront, 1);
}

TEST_F(FindStateTest, FindNextAfterTheDialogClosedStartsAtTheSelection) {
    SetText("abc abc abc");
    state.OnEditFind();
    FindNext("abc");
    Close("abc", "");
    target.SetSelection(5, 5);  // a click after the first match
    state.OnFindNext();
    EXPECT_EQ(Selection(), (Match{8, 11}));
    state.OnFindNext();
    EXPECT_EQ(ui.notFound, 1);
    EXPECT_EQ(Selection(), (Match{8, 11}));
    EXPECT_EQ(state.LastFindEnd(), 11);
}

TEST_F(FindStateTest, DialogSearchContinuesFromTheLastMatchNotFromAClick) {
    SetText("abc abc abc");
    state.OnEditFind();
    FindNext("abc");
    target.SetSelection(9, 9);
    FindNext("abc");
    EXPECT_EQ(Selection(), (Match{4, 7}));
}

TEST_F(FindStateTest, DialogSearchStartsAtTheSelectionUntilSomethingWasFound) {
    SetText("abc xx abc");
    state.OnEditFind();
    FindNext("zzz");
    EXPECT_EQ(ui.notFound, 1);
    target.SetSelection(5, 5);
    FindNext("abc");
    EXPECT_EQ(Selection(), (Match{7, 10}));
}

TEST_F(FindStateTest, FindNextUsesTheSavedTextWithTheOpenDialogsLastFlags) {
    SetText("Select select");
    state.OnEditFind();
    Close("select", "");
    state.OnEditFind();
    FindNext("zzz", kCase);
    state.OnFindNext();  // "select", match case on
    EXPECT_EQ(Selection(), (Match{7, 13}));
}

// Presses of the replace dialog's Replace: the text and selection after each,
// and whether it reported "Search string not found".
struct ReplaceStep {
    std::string text;
    Match selection;
    bool notFound;
};

TEST_F(FindStateTest, ReplaceFindsFirstThenReplacesTheMatchAndFindsTheNext) {
    struct Case {
        const char* name;
        std::string text;
        std::string find;
        std::string replace;
        std::vector<ReplaceStep> steps;
    };
    const std::vector<Case> cases = {
        {"same length", "x x x", "x", "y",
         {{"x x x", {0, 1}, false},
          {"y x x", {2, 3}, false},
          {"y y x", {4, 5}, false},
          {"y y y", {5, 5}, true},
          // The caret after the last replacement is no match: nothing is
          // inserted there.
          {"y y y", {5, 5}, true}}},
        {"longer replacement holding the search text", "a a", "a", "ba",
         {{"a a", {0, 1}, false}, {"ba a", {3, 4}, false}, {"ba ba", {5, 5}, true}, {"ba ba", {5, 5}, true}}},
        {"empty replacement", "ab ab", "ab", "", {{"ab ab", {0, 2}, false}, {" ab", {1, 3}, false}, {" ", {1, 1}, true}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeSearchTarget caseTarget(c.text);
        FakeFindUi caseUi(caseTarget);
        CFindState caseState(caseUi);
        caseState.OnEditReplace();
        ASSERT_EQ(caseUi.opened.at(0).kind, Kind::replace);
        int notFound = 0;
        for (std::size_t press = 0; press < c.steps.size(); ++press) {
            SCOPED_TRACE("press " + std::to_string(press + 1));
            caseState.OnFindReplace(CFindState::kFrReplace, c.find, c.replace);
            notFound += c.steps[press].notFound ? 1 : 0;
            EXPECT_EQ(caseTarget.text, c.steps[press].text);
            EXPECT_EQ((Match{caseTarget.selStart, caseTarget.selEnd}), c.steps[press].selection);
            EXPECT_EQ(caseUi.notFound, notFound);
        }
    }
}

TEST_F(FindStateTest, ReplaceLeavesASelectionThatIsNoMatch) {
    SetText("x x x");
    state.OnEditReplace();
    Replace("x", "y");
    target.SetSelection(1, 3);  // the user selected " x"
    Replace("x", "y");
    EXPECT_EQ(target.text, "x x x");
    EXPECT_EQ(Selection(), (Match{2, 3}));
    Replace("x", "y");
    EXPECT_EQ(target.text, "x y x");
    EXPECT_EQ(Selection(), (Match{4, 5}));
}

TEST_F(FindStateTest, ReplaceLeavesASelectionThatNoLongerMatchesWithMatchCase) {
    SetText("X x");
    state.OnEditReplace();
    Replace("x", "y");  // finds "X"
    Replace("x", "y", kCase);
    EXPECT_EQ(target.text, "X x");
    EXPECT_EQ(Selection(), (Match{2, 3}));
}

TEST_F(FindStateTest, ReplaceAllReplacesEveryMatchAfterTheStartWithoutMessage) {
    struct Case {
        const char* name;
        std::string text;
        Match selection;
        std::string find;
        std::string replace;
        std::uint32_t flags;
        std::string result;
    };
    const std::vector<Case> cases = {
        {"replacement holds the search text", "aaa", {0, 0}, "a", "ba", 0, "bababa"},
        {"empty replacement", "aaaa", {0, 0}, "aa", "", 0, ""},
        {"replacement wraps the search text", "abc abc", {0, 0}, "abc", "xabcx", 0, "xabcx xabcx"},
        {"only after the selection", "a a a", {1, 2}, "a", "b", 0, "a b b"},
        {"match case on", "Select select", {0, 0}, "select", "x", kCase, "Select x"},
        {"match case off", "Select select", {0, 0}, "select", "x", 0, "x x"},
        {"whole word", "cat concat cat", {0, 0}, "cat", "dog", kWord, "dog concat dog"},
        {"multi-byte text", "\xC3\xA9-\xC3\xA9-\xC3\xA9", {0, 0}, "\xC3\xA9", "e", 0, "e-e-e"},
        {"nothing found", "none here", {0, 0}, "zzz", "y", 0, "none here"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeSearchTarget caseTarget(c.text);
        caseTarget.SetSelection(c.selection.start, c.selection.end);
        FakeFindUi caseUi(caseTarget);
        CFindState caseState(caseUi);
        caseState.OnEditReplace();
        caseState.OnFindReplace(CFindState::kFrReplaceAll | c.flags, c.find, c.replace);
        EXPECT_EQ(caseTarget.text, c.result);
        EXPECT_EQ(caseUi.notFound, 0);
        EXPECT_EQ(caseUi.broughtToFront, 1);
    }
}

TEST_F(FindStateTest, ReplaceAllAfterASearchStartsAtTheLastMatch) {
    SetText("a a a");
    state.OnEditReplace();
    Replace("a", "b");  // finds the first "a"
    target.SetSelection(0, 0);
    ReplaceAll("a", "b");
    EXPECT_EQ(target.text, "a b b");
    EXPECT_EQ(state.LastFindEnd(), 5);
}

TEST_F(FindStateTest, OneDialogAtATime) {
    state.OnEditReplace();
    state.OnEditFind();
    state.OnEditReplace();
    ASSERT_EQ(ui.opened.size(), 1u);
    EXPECT_EQ(ui.opened[0].kind, Kind::replace);
    EXPECT_EQ(ui.broughtToFront, 2);
    Close("", "");
    EXPECT_FALSE(state.IsDialogOpen());
    state.OnEditFind();
    ASSERT_EQ(ui.opened.size(), 2u);
    EXPECT_EQ(ui.opened[1].kind, Kind::find);
}

TEST_F(FindStateTest, ClosingSavesTextsAndFlagsForTheNextDialog) {
    struct Case {
        std::uint32_t closeFlags;
        std::uint32_t savedFlags;
    };
    for (const Case c : {Case{kCase, kCase}, Case{kWord, kWord}, Case{kCase | kWord, kCase | kWord}, Case{0, 0}}) {
        SCOPED_TRACE(c.closeFlags);
        FakeFindUi caseUi(target);
        CFindState caseState(caseUi);
        caseState.OnEditReplace();
        caseState.OnFindReplace(CFindState::kFrDialogTerm | c.closeFlags, "abc", "xyz");
        EXPECT_EQ(caseState.FindText(), "abc");
        EXPECT_EQ(caseState.ReplaceText(), "xyz");
        EXPECT_EQ(caseState.FindFlags(), c.savedFlags);
        caseState.OnEditFind();
        ASSERT_EQ(caseUi.opened.size(), 2u);
        EXPECT_EQ(caseUi.opened[1].find, "abc");
        EXPECT_EQ(caseUi.opened[1].replace, "xyz");
        EXPECT_EQ(caseUi.opened[1].flags, c.savedFlags);
    }
}

}  // namespace
