// The text operations that both panes share: bytes in and out unchanged,
// lengths in bytes, the caller's buffer, selection and font.
#include "worksheet_fixture.h"

#include <wx/font.h>
#include <wx/stc/stc.h>

#include <cstring>

using namespace std::string_literals;

class PaneTextTest : public WorksheetTest, public ::testing::WithParamInterface<bool> {
protected:
    // The pane under test: the script pane or the (read-only) output pane.
    CPane& Pane() { return GetParam() ? static_cast<CPane&>(*m_pOutputPane) : *m_pScriptPane; }
    wxStyledTextCtrl& Control() { return *Pane().GetControl(); }
    std::pair<int, int> Selection() { return {Control().GetSelectionStart(), Control().GetSelectionEnd()}; }
};

INSTANTIATE_TEST_SUITE_P(BothPanes, PaneTextTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Output" : "Script"; });

TEST_P(PaneTextTest, SetTextAndGetTextPassEveryByte) {
    const std::string cases[] = {
        "", "select 1;\r\nselect 2\r\n", "caf\xC3\xA9 \xE2\x82\xAC \xE4\xB8\xAD", "\x80\xFF\xC3(\xE2\x82 \xC0\xAF",
        "a\rb\nc", "a\0b\r\n\0"s,
    };
    for (const std::string& bytes : cases) {
        SCOPED_TRACE(bytes);
        Pane().SetText(bytes, false);
        EXPECT_EQ(Pane().GetTextLength(), static_cast<int>(bytes.size()));
        EXPECT_EQ(Pane().GetText(), bytes);
        std::string buffer(bytes.size() + 1, '#');
        Pane().GetText(buffer.data(), static_cast<int>(buffer.size()));
        EXPECT_EQ(buffer, bytes + '\0');
    }
}

TEST_P(PaneTextTest, GetTextFillsAtMostSizeMinusOneBytesAndANul) {
    Pane().SetText("abcdef", false);
    const std::pair<int, std::string> cases[] = {
        {4, "abc\0####"s}, {1, "\0#######"s}, {7, "abcdef\0#"s}, {8, "abcdef\0#"s}, {0, "########"}, {-3, "########"},
    };
    for (const auto& [size, expected] : cases) {
        char buffer[8];
        std::memset(buffer, '#', sizeof buffer);
        Pane().GetText(buffer, size);
        EXPECT_EQ(std::string(buffer, sizeof buffer), expected) << size;
    }
    Pane().GetText(nullptr, 10);  // does nothing
}

TEST_P(PaneTextTest, SelectionsAreClampedAndReplacedWithTheCaretAfterTheInsertion) {
    Pane().SetText("0123456789", false);
    const std::pair<std::pair<long, long>, std::pair<int, int>> cases[] = {
        {{0, -1}, {0, 10}}, {{3, 1000}, {3, 10}}, {{4, 4}, {4, 4}}, {{2, 5}, {2, 5}}, {{-5, 2}, {0, 2}},
    };
    for (const auto& [range, selected] : cases) {
        Pane().SetSelection(range.first, range.second);
        EXPECT_EQ(Selection(), selected) << range.first << ".." << range.second;
    }
    Pane().SetSelection(6, 8);
    Pane().SetText("th\0ere"s, true);
    EXPECT_EQ(Pane().GetText(), "012345th\0ere89"s);
    EXPECT_EQ(Selection(), std::pair(12, 12));
    Pane().SetText(static_cast<const char*>(nullptr), false);
    EXPECT_EQ(Pane().GetTextLength(), 0);
}

TEST_P(PaneTextTest, SetPaneFontKeepsTheSelectionAndAppliesToAllText) {
    Pane().SetText("select 1\r\nfrom t", false);
    Pane().SetSelection(3, 12);
    wxFont font(wxFontInfo().FaceName("Monospace").Bold());
    font.SetFractionalPointSize(11.25);
    Pane().SetPaneFont(font, 9);
    EXPECT_EQ(Selection(), std::pair(3, 12));
    EXPECT_EQ(Pane().GetCharWidth(), 9);
    EXPECT_EQ(Control().StyleGetFaceName(wxSTC_STYLE_DEFAULT), "Monospace");
    // Every character's style has the font, never bold.
    EXPECT_EQ(Control().StyleGetSizeFractional(Control().GetStyleAt(5)), 1125);
    EXPECT_FALSE(Control().StyleGetBold(Control().GetStyleAt(5)));
}
