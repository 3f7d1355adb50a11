// The text operations that both panes share: bytes in and out unchanged,
// lengths in bytes, the caller's buffer, selection and font.
#include "worksheet_fixture.h"

#include <wx/font.h>
#include <wx/stc/stc.h>

#include <cstring>

using namespace std::string_literals;

namespace {

struct ByteCase {
    const char* name;
    std::string bytes;
};

const ByteCase kByteCases[] = {
    {"empty", ""},
    {"crlf line ends count two", "select 1;\r\nselect 2\r\n"},
    {"utf8", "caf\xC3\xA9 \xE2\x82\xAC \xE4\xB8\xAD"},
    {"invalid utf8", "\x80\xFF\xC3(\xE2\x82 \xC0\xAF"},
    {"bare cr and lf kept", "a\rb\nc"},
    {"nul bytes", "a\0b\r\n\0"s},
};

}  // namespace

class PaneTextTest : public WorksheetTest, public ::testing::WithParamInterface<bool> {
protected:
    // The pane under test: the script pane or the (read-only) output pane.
    CPane& Pane() { return GetParam() ? static_cast<CPane&>(*m_pOutputPane) : *m_pScriptPane; }
};

INSTANTIATE_TEST_SUITE_P(BothPanes, PaneTextTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Output" : "Script"; });

TEST_P(PaneTextTest, SetTextAndGetTextPassEveryByte) {
    for (const ByteCase& test : kByteCases) {
        SCOPED_TRACE(test.name);
        Pane().SetText(test.bytes, false);
        EXPECT_EQ(Pane().GetTextLength(), static_cast<int>(test.bytes.size()));
        EXPECT_EQ(Pane().GetText(), test.bytes);
        std::string buffer(test.bytes.size() + 1, '#');
        Pane().GetText(buffer.data(), static_cast<int>(buffer.size()));
        EXPECT_EQ(buffer, test.bytes + '\0');
    }
}

TEST_P(PaneTextTest, GetTextFillsAtMostSizeMinusOneBytesAndANul) {
    Pane().SetText("abcdef", false);
    struct Case {
        int size;
        std::string expected;  // the whole 8-byte buffer afterwards
    };
    const Case cases[] = {
        {4, "abc\0####"s},
        {1, "\0#######"s},
        {7, "abcdef\0#"s},
        {8, "abcdef\0#"s},
        {0, "########"},
        {-3, "########"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.size);
        char buffer[8];
        std::memset(buffer, '#', sizeof buffer);
        Pane().GetText(buffer, test.size);
        EXPECT_EQ(std::string(buffer, sizeof buffer), test.expected);
    }
    Pane().GetText(nullptr, 10);  // does nothing
}

TEST_P(PaneTextTest, SetTextReplacingTheSelectionLeavesTheCaretAfterTheInsertion) {
    Pane().SetText("hello world", false);
    Pane().SetSelection(6, 11);
    Pane().SetText("th\0ere"s, true);
    EXPECT_EQ(Pane().GetText(), "hello th\0ere"s);
    EXPECT_EQ(Pane().GetControl()->GetSelectionStart(), 12);
    EXPECT_EQ(Pane().GetControl()->GetSelectionEnd(), 12);

    Pane().SetText(static_cast<const char*>(nullptr), false);
    EXPECT_EQ(Pane().GetTextLength(), 0);
}

TEST_P(PaneTextTest, SetSelectionTakesMinusOneAndOverlongEndsAsTheEnd) {
    Pane().SetText("0123456789", false);
    struct Case {
        long start, end;
        int selStart, selEnd;
    };
    const Case cases[] = {{0, -1, 0, 10}, {3, 1000, 3, 10}, {4, 4, 4, 4}, {2, 5, 2, 5}, {-5, 2, 0, 2}};
    for (const Case& test : cases) {
        SCOPED_TRACE(testing::Message() << test.start << ".." << test.end);
        Pane().SetSelection(test.start, test.end);
        EXPECT_EQ(Pane().GetControl()->GetSelectionStart(), test.selStart);
        EXPECT_EQ(Pane().GetControl()->GetSelectionEnd(), test.selEnd);
    }
}

TEST_P(PaneTextTest, SetPaneFontKeepsTheSelectionAndAppliesToAllText) {
    Pane().SetText("select 1\r\nfrom t", false);
    Pane().SetSelection(3, 12);
    wxFont font(wxFontInfo().FaceName("Monospace").Bold());
    font.SetFractionalPointSize(11.25);
    Pane().SetPaneFont(font, 9);

    wxStyledTextCtrl& control = *Pane().GetControl();
    EXPECT_EQ(control.GetSelectionStart(), 3);
    EXPECT_EQ(control.GetSelectionEnd(), 12);
    EXPECT_EQ(Pane().GetCharWidth(), 9);
    EXPECT_EQ(control.StyleGetFaceName(wxSTC_STYLE_DEFAULT), "Monospace");
    EXPECT_EQ(control.StyleGetSizeFractional(wxSTC_STYLE_DEFAULT), 1125);
    // Every character's style has the font, never bold.
    const int style = control.GetStyleAt(5);
    EXPECT_EQ(control.StyleGetSizeFractional(style), 1125);
    EXPECT_FALSE(control.StyleGetBold(style));
}

TEST_P(PaneTextTest, TakesTenMillionCharacters) {
    std::string text;
    const std::string line = "0123456789abcdefghijklmnopqrstuvwxyz0123456789abcdefghijklmnopqrstuvwxyz012345678\r\n";
    while (text.size() + line.size() <= 10'000'000) text += line;
    text.append(10'000'000 - text.size(), 'x');
    Pane().SetText(text, false);
    EXPECT_EQ(Pane().GetTextLength(), 10'000'000);
    EXPECT_TRUE(Pane().GetText() == text);
}
