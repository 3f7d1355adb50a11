// Searching and replacing in a real text control: byte positions that never
// cut a UTF-8 character, and replacements in a control the user cannot type
// into. Its match-case and whole-word rules are tested with CFindState.
#include "panes/stc_search_target.h"
#include "stc_fixture.h"

#include <optional>
#include <string>

namespace {

using namespace std::string_literals;
using StcSearchTargetTest = StcFixture;

TEST_F(StcSearchTargetTest, FindStaysOnWholeCharacters) {
    struct Case {
        std::string find;
        long start, end;
        std::optional<Match> match;
    };
    const Case cases[] = {
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
    for (const Case& c : cases) {
        SCOPED_TRACE(c.find + " from " + std::to_string(c.start) + " to " + std::to_string(c.end));
        EXPECT_EQ(target.Find(c.find, 0, c.start, c.end), c.match);
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
