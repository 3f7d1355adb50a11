// Searching and replacing in a real text control: its match-case and
// whole-word rules, byte positions in UTF-8 text, and replacements in a
// control the user cannot type into.
#include "panes/stc_search_target.h"
#include "stc_fixture.h"

#include <optional>
#include <string>

namespace {

using namespace std::string_literals;
using StcSearchTargetTest = StcFixture;

constexpr std::uint32_t kCase = CSearchTarget::kMatchCase;
constexpr std::uint32_t kWord = CSearchTarget::kWholeWord;

TEST_F(StcSearchTargetTest, FindTakesTheFlagsAndStaysOnWholeCharacters) {
    const std::string uu = "\xC3\xBC\xC3\xBC";
    struct Case {
        std::string text, find;
        std::uint32_t flags;
        long start, end;
        std::optional<Match> match;
    };
    const Case cases[] = {
        {"select Select", "Select", kCase, 0, -1, Match{7, 13}},
        {"select Select", "Select", 0, 0, -1, Match{0, 6}},
        {"concat cat cats cat", "cat", kWord, 0, -1, Match{7, 10}},
        {"concat cat cats cat", "cat", kWord, 8, -1, Match{16, 19}},
        {"concat cat cats cat", "cat", 0, 0, -1, Match{3, 6}},
        {"\xC3\xA9 abc \xC3\xBC abc", "abc", 0, 4, -1, Match{10, 13}},
        {"caf\xC3\xA9 CAF\xC3\x89", "CAF\xC3\x89", kCase, 0, -1, Match{6, 11}},
        {uu, "\xBC", 0, 0, -1, std::nullopt},  // not UTF-8: no match inside a character
        {uu, "\xC3\xBC", 0, 1, -1, Match{2, 4}},  // a start inside a character moves past it
        {uu, "\xC3\xBC", 0, 3, -1, std::nullopt},
        {uu, "\xC3\xBC", 0, 400, -1, std::nullopt},
        {uu, "\xC3\xBC", 0, 0, 2, Match{0, 2}},
        {uu, "\xC3\xBC", 0, 1, 3, std::nullopt},
        {"abc", "", 0, 0, -1, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text + " / " + c.find + " from " + std::to_string(c.start));
        SetText(c.text);
        CStcSearchTarget target(*control);
        EXPECT_EQ(target.Find(c.find, c.flags, c.start, c.end), c.match);
    }
}

TEST_F(StcSearchTargetTest, ReplaceSelectionPutsInTheBytesAlsoWhenReadOnly) {
    SetText("a\xC3\xA9" "b", true);
    CStcSearchTarget target(*control);
    target.SetSelection(1, 3);
    target.ReplaceSelection("x\0\xE2\x82\xAC"s);
    EXPECT_EQ(Text(), "ax\0\xE2\x82\xAC" "b"s);
    EXPECT_EQ(Selection(), (Match{6, 6}));
    target.SetSelection(0, 2);
    target.ReplaceSelection("");
    EXPECT_EQ(Text(), "\0\xE2\x82\xAC" "b"s);
    EXPECT_EQ(Selection(), (Match{0, 0}));
    EXPECT_TRUE(control->GetReadOnly());
}

}  // namespace
