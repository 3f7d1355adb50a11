// Characters kept on the pane font's cells, with glyph widths that a fake
// font gives: wide glyphs that can be sized exactly, and boxes that grow in
// steps and are made up for by the next space.
#include "common/display_text.h"
#include "panes/cell_fit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

constexpr int kBase = 1000;  // 10 points
constexpr int kCell = 8;

// Pixels per point size unit of each glyph; the emoji is a box of odd widths.
int FakeWidth(int size, std::string_view character) {
    const double s = size / 1000.0;
    if (character == "\xE5\xB1\xB1") return static_cast<int>(std::lround(s * 15));   // wide, 15 at the base size
    if (character == "\xEF\xBD\x86") return static_cast<int>(std::lround(s * 10));   // full-width f
    if (character == "\xF0\x9F\x98\x80") return 2 * static_cast<int>(std::lround(s * 6)) + 1;  // box
    if (character == "\xE2\x80\x94") return static_cast<int>(std::lround(s * 11));   // em dash, one column
    return static_cast<int>(std::lround(s * kCell));
}

}  // namespace

TEST(CellFitTest, TextAfterEverySpaceIsOnTheGrid) {
    const std::string cases[] = {
        "plain ASCII text",
        "caf\xC3\xA9 e\xCC\x81t\xC3\xA9 x",                        // accented Latin, a combining mark
        "\xE5\xB1\xB1\xE5\xB1\xB1 | \xEF\xBD\x86\xEF\xBD\x86 |",  // wide glyphs sized exactly
        "\xF0\x9F\x98\x80x  \xF0\x9F\x98\x80\xF0\x9F\x98\x80 y \xE2\x80\x94 z\r\n\xF0\x9F\x98\x80 w",
        "\xFF stray \xC3",
    };
    for (const std::string& text : cases) {
        SCOPED_TRACE(text);
        CCellFit fit(kBase, kCell, FakeWidth);
        std::vector<unsigned char> styles(text.size(), 0xEE);
        fit.Style(text, styles.data());
        const auto sizeOf = [&fit](unsigned char style) { return style == 0 ? kBase : fit.StyleSizes().at(style); };

        int x = 0;
        std::size_t lineStart = 0;
        for (std::size_t at = 0; at < text.size();) {
            const std::size_t length = std::max<std::size_t>(display_text::SequenceLength(text.substr(at)), 1);
            const std::string_view character = std::string_view(text).substr(at, length);
            for (std::size_t i = 1; i < length; ++i) EXPECT_EQ(styles[at + i], styles[at]) << "inside a character";
            if (static_cast<unsigned char>(text[at]) < 0x80 && text[at] != ' ') {
                EXPECT_EQ(styles[at], 0);
            }
            x += FakeWidth(sizeOf(styles[at]), character) * (display_text::Width(character) > 0 ? 1 : 0);
            at += length;
            if (text[at - 1] == '\n') {
                lineStart = at;
                x = 0;
            }
            // Spaces and the glyphs that can be sized exactly end on the grid.
            if (text[at - 1] == ' ' || character == "\xE5\xB1\xB1" || character == "\xEF\xBD\x86") {
                EXPECT_EQ(x, kCell * display_text::Width(std::string_view(text).substr(lineStart, at - lineStart))) << at;
            }
        }
    }
}

TEST(CellFitTest, MeasuresEachCharacterOnceAndSharesStylesOfOneSize) {
    int measures = 0;
    CCellFit fit(kBase, kCell, [&measures](int size, std::string_view c) {
        ++measures;
        return FakeWidth(size, c);
    });
    std::string text = "\xE5\xB1\xB1";
    std::vector<unsigned char> styles(3);
    fit.Style(text, styles.data());
    const int first = measures;
    for (int i = 0; i < 3; ++i) fit.Style(text, styles.data());
    EXPECT_EQ(measures, first);
    EXPECT_EQ(fit.StyleSizes().size(), 1u);
    EXPECT_NE(styles[0], 0);
}
