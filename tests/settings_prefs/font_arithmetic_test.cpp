#include "settings/font_arithmetic.h"
#include "settings/font_description.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

TEST(FontArithmetic, MulDivRoundsHalvesAwayFromZeroAndClamps) {
    const struct {
        int number, numerator, denominator, result;
    } cases[] = {
        {11, 96, 72, 15}, {-15, 72, 96, -11}, {5, 1, 4, 1}, {7, 1, 4, 2},  // 14.67, -11.25, 1.25, 1.75
        {3, 1, 2, 2},     {-3, 1, 2, -2},     {3, 1, -2, -2}, {-3, 1, -2, 2},
        {INT_MAX, 2, 2, INT_MAX},                                                  // the product does not overflow
        {INT_MAX, INT_MAX, 1, INT_MAX}, {INT_MIN, 1, 1, -INT_MAX}, {INT_MIN, -1, 1, INT_MAX},  // clamped: negatable
        {7, 1, 0, -1},                                                             // no denominator
    };
    for (const auto& c : cases) {
        EXPECT_EQ(font_arithmetic::MulDiv(c.number, c.numerator, c.denominator), c.result)
            << c.number << " * " << c.numerator << " / " << c.denominator;
    }
}

TEST(FontArithmetic, TwipsForHeightRoundsTowardZeroWithoutOverflow) {
    using font_arithmetic::TwipsForHeight;
    EXPECT_EQ(TwipsForHeight(-15, 96), 225);  // 11.25 points
    EXPECT_EQ(TwipsForHeight(-16, 120), 192);
    EXPECT_EQ(TwipsForHeight(-1, 1000), 1);   // 1.44
    EXPECT_EQ(TwipsForHeight(15, 96), -225);
    EXPECT_EQ(TwipsForHeight(INT_MIN, 96), INT_MAX);  // clamped, not wrapped
    EXPECT_EQ(TwipsForHeight(-15, 0), 0);
}

// The description the page builds: the size box's leading number as a
// height at the pixels per inch, the face and the charset; nothing else.
TEST(FontDescription, BuildReadsTheSizeTextAsAHeight) {
    const struct {
        const char* size;
        int ppi, height;
    } cases[] = {
        {"11", 96, -15},  {"11", 120, -18}, {"  12pt", 96, -16}, {"+9", 96, -12}, {"10.5", 96, -13},
        {"20", 96, -27},  {"-4", 96, 5},     // a negative size asks for a cell height
        {"", 96, 0},      {"abc", 96, 0},   {" - 3", 96, 0},     {"99999999999", 96, -INT_MAX},
        {"-99999999999", 96, INT_MAX},
    };
    for (const auto& c : cases) {
        LOGFONT expected{.lfHeight = c.height, .lfCharSet = 129};
        font_description::SetFaceName(expected, "Courier New");
        EXPECT_EQ(font_description::Build("Courier New", c.size, c.ppi, 129), expected)
            << "size \"" << c.size << "\" at " << c.ppi;
    }
}

}  // namespace
