// The panes' palettes: readable text on every background they pair it with.
#include "panes/pane_palette.h"

#include <gtest/gtest.h>

TEST(PanePaletteTest, ContrastRatioFollowsWcag) {
    // {a, b, ratio}: the extremes, equal colours, and WCAG's own threshold grey.
    const struct {
        Rgb a, b;
        double ratio;
    } cases[] = {
        {{0, 0, 0}, {255, 255, 255}, 21.0},
        {{255, 255, 255}, {0, 0, 0}, 21.0},
        {{0x77, 0x77, 0x77}, {0x77, 0x77, 0x77}, 1.0},
        {{0x76, 0x76, 0x76}, {255, 255, 255}, 4.54},
        {{255, 0, 0}, {255, 255, 255}, 4.00},
    };
    for (const auto& c : cases) EXPECT_NEAR(ContrastRatio(c.a, c.b), c.ratio, 0.01);
}

TEST(PanePaletteTest, TextIsReadableInBothPalettes) {
    for (const bool dark : {false, true}) {
        SCOPED_TRACE(dark);
        const PanePalette p = PanePalette::For(dark);
        EXPECT_GE(ContrastRatio(p.text, p.background), 4.5);
        EXPECT_GE(ContrastRatio(p.selectionText, p.selectionBackground), 4.5);
        EXPECT_GE(ContrastRatio(p.text, p.margin), 4.5);
        EXPECT_GE(ContrastRatio(p.caret, p.background), 4.5);
        for (const Rgb coloured : {p.keyword, p.string, p.quotedName, p.number, p.comment, p.operatorSign, p.echo,
                                   p.error, p.warning})
            EXPECT_GE(ContrastRatio(coloured, p.background), 4.5);
        EXPECT_GE(ContrastRatio(p.text, p.braceBackground), 4.5);
        // The palette matches the theme: a dark background on a dark desktop.
        EXPECT_EQ(ContrastRatio(p.background, {0, 0, 0}) < ContrastRatio(p.background, {255, 255, 255}), dark);
    }
}
