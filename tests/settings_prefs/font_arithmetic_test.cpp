#include "settings/font_arithmetic.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

using namespace font_arithmetic;

TEST(FontArithmetic, MulDivRoundsHalvesAwayFromZero) {
    const struct {
        int number, numerator, denominator, result;
    } cases[] = {
        {11, 96, 72, 15},    // 14.67
        {-15, 72, 96, -11},  // -11.25
        {-15, 72, 120, -9},
        {3, 1, 2, 2},        // 1.5
        {-3, 1, 2, -2},      // -1.5
        {3, -1, 2, -2},
        {3, 1, -2, -2},
        {-3, 1, -2, 2},
        {5, 1, 2, 3},        // 2.5
        {5, 1, 4, 1},        // 1.25
        {7, 1, 4, 2},        // 1.75
        {-7, 1, 4, -2},
        {0, 5, 7, 0},
        {INT_MAX, 2, 2, INT_MAX},       // the product does not overflow
        {INT_MIN + 1, 3, 3, INT_MIN + 1},
        {INT_MAX, INT_MAX, 1, INT_MAX},  // clamped
        {INT_MIN, 1, 1, -INT_MAX},       // clamped so that it can be negated
        {INT_MIN, -1, 1, INT_MAX},
        {7, 1, 0, -1},                   // no denominator
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.number) + " * " + std::to_string(c.numerator) + " / " +
                     std::to_string(c.denominator));
        EXPECT_EQ(MulDiv(c.number, c.numerator, c.denominator), c.result);
    }
}

TEST(FontArithmetic, SizesAndHeights) {
    EXPECT_EQ(HeightForSize(11, 96), -15);
    EXPECT_EQ(SizeForHeight(-15, 96), 11);
    EXPECT_EQ(SizeForHeight(-15, 120), 9);
    EXPECT_EQ(HeightForSize(20, 96), -27);
    EXPECT_EQ(HeightForSize(0, 96), 0);
    EXPECT_EQ(HeightForSize(-4, 96), 5);    // a negative size asks for a cell height
    EXPECT_EQ(SizeForHeight(-3, 96), 2);     // 2.25
    EXPECT_EQ(SizeForHeight(-1, 96), 1);     // 0.75
    EXPECT_EQ(SizeForHeight(INT_MIN, 1), INT_MAX);
    EXPECT_EQ(HeightForSize(INT_MAX, 96), -INT_MAX);
}

TEST(FontArithmetic, SizeTextReadsLeadingDigits) {
    const struct {
        const char* text;
        int size;
    } cases[] = {
        {"11", 11}, {"  12pt", 12}, {"+9", 9}, {"-3", -3}, {"\t\n7", 7}, {"10.5", 10},
        {"abc", 0}, {"", 0},        {" - 3", 0}, {"+", 0},  {"99999999999", INT_MAX}, {"-99999999999", -INT_MAX},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("text \"") + c.text + "\"");
        EXPECT_EQ(ReadSizeText(c.text), c.size);
    }
}

TEST(FontArithmetic, TwipsRoundTowardZero) {
    const struct {
        int height, ppi, twips;
    } cases[] = {
        {-15, 96, 225}, {-16, 96, 240}, {-1, 96, 15},   {15, 96, -225}, {-15, 120, 180},
        {-7, 100, 100}, {7, 100, -100}, {0, 96, 0},     {-15, 0, 0},    {INT_MIN, 1, INT_MAX},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.height) + " at " + std::to_string(c.ppi));
        EXPECT_EQ(TwipsForHeight(c.height, c.ppi), c.twips);
    }
}

}  // namespace
