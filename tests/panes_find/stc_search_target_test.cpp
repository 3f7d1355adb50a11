#include "panes/find_state.h"
#include "panes/stc_search_target.h"
#include "stc_fixture.h"

#include <gtest/gtest.h>
#include <wx/stc/stc.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using Match = CSearchTarget::Match;

// Find and replace over a real text control, with the dialog left out.
class StcFindUi : public CFindUi {
public:
    explicit StcFindUi(wxStyledTextCtrl& control) : m_control(control) {}
    CSearchTarget* ActiveTarget() override {
        m_target.emplace(m_control);
        return &*m_target;
    }
    bool OpenDialog(DialogKind, const std::string&, const std::string&, std::uint32_t) override { return true; }
    void BringDialogToFront() override {}
    void ShowNotFound() override { ++notFound; }

    int notFound = 0;

private:
    wxStyledTextCtrl& m_control;
    std::optional<CStcSearchTarget> m_target;
};

using StcSearchTargetTest = StcFixture;

TEST_F(StcSearchTargetTest, DialogFindNextOnTheControl) {
    struct Case {
        const char* name;
        std::string text;
        std::string find;
        std::uint32_t flags;
        std::vector<std::optional<Match>> presses;
    };
    const std::vector<Case> cases = {
        {"three matches then none", "abc abc abc", "abc", 0, {Match{0, 3}, Match{4, 7}, Match{8, 11}, std::nullopt}},
        {"match case on", "select", "Select", CFindState::kFrMatchCase, {std::nullopt}},
        {"match case off", "select", "Select", 0, {Match{0, 6}}},
        {"whole word", "concat cat cats cat", "cat", CFindState::kFrWholeWord, {Match{7, 10}, Match{16, 19}}},
        {"byte positions", "\xC3\xA9 abc \xC3\xBC abc", "abc", 0, {Match{3, 6}, Match{10, 13}, std::nullopt}},
        {"no match inside a character", "\xC3\xBC", "\xBC", 0, {std::nullopt}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetText(c.text);
        StcFindUi ui(*control);
        CFindState state(ui);
        state.OnEditFind();
        Match selection{0, 0};
        int notFound = 0;
        for (const auto& expected : c.presses) {
            state.OnFindReplace(CFindState::kFrFindNext | c.flags, c.find, "");
            if (expected) {
                selection = *expected;
            } else {
                ++notFound;
            }
            EXPECT_EQ(Selection(), selection);
            EXPECT_EQ(ui.notFound, notFound);
        }
    }
}

TEST_F(StcSearchTargetTest, ReplaceChangesAReadOnlyControlAndKeepsItReadOnly) {
    SetText("x x x", true);
    StcFindUi ui(*control);
    CFindState state(ui);
    state.OnEditReplace();
    const std::vector<std::pair<std::string, Match>> steps = {
        {"x x x", {0, 1}}, {"y x x", {2, 3}}, {"y y x", {4, 5}}, {"y y y", {5, 5}}};
    for (const auto& [text, selection] : steps) {
        state.OnFindReplace(CFindState::kFrReplace, "x", "y");
        EXPECT_EQ(Text(), text);
        EXPECT_EQ(Selection(), selection);
        EXPECT_TRUE(control->GetReadOnly());
    }
    EXPECT_EQ(ui.notFound, 1);
}

TEST_F(StcSearchTargetTest, ReplaceAllOnTheControl) {
    struct Case {
        std::string text;
        std::string find;
        std::string replace;
        std::string result;
    };
    const Case cases[] = {
        {"aaa", "a", "ba", "bababa"},
        {"aaaa", "aa", "", ""},
        {"\xC3\xA9 x\r\n\xC3\xA9", "\xC3\xA9", "\xE2\x82\xAC\xE2\x82\xAC", "\xE2\x82\xAC\xE2\x82\xAC x\r\n\xE2\x82\xAC\xE2\x82\xAC"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        SetText(c.text, true);
        StcFindUi ui(*control);
        CFindState state(ui);
        state.OnEditReplace();
        state.OnFindReplace(CFindState::kFrReplaceAll, c.find, c.replace);
        EXPECT_EQ(Text(), c.result);
        EXPECT_TRUE(control->GetReadOnly());
        EXPECT_EQ(ui.notFound, 0);
    }
}

TEST_F(StcSearchTargetTest, StartsBeyondTheTextOrInsideACharacterAreSafe) {
    SetText("\xC3\xBC\xC3\xBC");
    CStcSearchTarget target(*control);
    EXPECT_EQ(target.Find("\xC3\xBC", 0, 1), (Match{2, 4}));
    EXPECT_EQ(target.Find("\xC3\xBC", 0, 3), std::nullopt);
    EXPECT_EQ(target.Find("\xC3\xBC", 0, 400), std::nullopt);
    EXPECT_EQ(target.Find("\xC3\xBC", 0, 0, 2), (Match{0, 2}));
    EXPECT_EQ(target.Find("\xC3\xBC", 0, 1, 3), std::nullopt);
}

}  // namespace
