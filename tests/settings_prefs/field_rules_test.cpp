// The rules of the Options sheet's fields without a display: width texts,
// font sizes as heights, and the entries a box shows.
#include "settings/face_name_list.h"
#include "settings/font_arithmetic.h"
#include "settings/font_description.h"
#include "settings/integer_field.h"
#include "settings/list_match.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace {

// A column width as the General page reads it: the value, or the message
// that refuses the text.
TEST(IntegerField, WidthTextIsReadAndChecked) {
    const std::string kRange = "Please enter an integer between 1 and 1000.";
    const std::string kNotInteger = "Please enter an integer.";
    const std::pair<std::string, std::string> cases[] = {  // the text, and the value taken or the message
        {"25", "25"}, {"  25\t", "25"}, {"+7", "7"}, {"007", "7"}, {"1", "1"}, {"1000", "1000"},
        {"0", kRange}, {"1001", kRange}, {"-5", kRange},  // integers, but out of range
        {"99999999999", kRange}, {"-99999999999", kRange},  // too large for an int: never wrapped
        {"12a", kNotInteger}, {"1 2", kNotInteger}, {"0x10", kNotInteger}, {"", kNotInteger}, {"   ", kNotInteger},
        {"-", kNotInteger}, {" 25\n", kNotInteger},  // only blanks and tabs may follow
        // A 0 reading counts only when the number starts with the digit "0":
        // blanks before it are not part of the number, a sign is.
        {" 0", kRange}, {"\t00 ", kRange}, {"+0", kNotInteger}, {"-00", kNotInteger},
        // Only the first 31 characters are read.
        {std::string(30, ' ') + "5x", "5"}, {std::string(29, ' ') + "5x", kNotInteger},
        {std::string(29, ' ') + "123", "12"},
    };
    for (const auto& [text, read] : cases) {
        const integer_field::Reading reading = integer_field::ReadInRange(text, 1, 1000);
        EXPECT_EQ(reading.Accepted() ? std::to_string(reading.value) : reading.message, read) << '"' << text << '"';
    }
}

TEST(FontArithmetic, MulDivRoundsHalvesAwayFromZeroAndClamps) {
    const int cases[][4] = {  // number, numerator, denominator, result
        {11, 96, 72, 15}, {-15, 72, 96, -11}, {5, 1, 4, 1}, {7, 1, 4, 2},  // 14.67, -11.25, 1.25, 1.75
        {3, 1, 2, 2},     {-3, 1, 2, -2},     {3, 1, -2, -2}, {-3, 1, -2, 2},
        {INT_MAX, 2, 2, INT_MAX},                                                  // the product does not overflow
        {INT_MAX, INT_MAX, 1, INT_MAX}, {INT_MIN, 1, 1, -INT_MAX}, {INT_MIN, -1, 1, INT_MAX},  // clamped: negatable
        {7, 1, 0, -1},                                                             // no denominator
    };
    for (const auto& [number, numerator, denominator, result] : cases)
        EXPECT_EQ(font_arithmetic::MulDiv(number, numerator, denominator), result)
            << number << " * " << numerator << " / " << denominator;
}

TEST(FontArithmetic, TwipsForHeightRoundsTowardZeroWithoutOverflow) {
    const int cases[][3] = {  // height, pixels per inch, twips
        {-15, 96, 225}, {-16, 120, 192}, {-1, 1000, 1},  // 11.25 points, 12, 1.44
        {15, 96, -225}, {INT_MIN, 96, INT_MAX},           // clamped, not wrapped
        {-15, 0, 0},
    };
    for (const auto& [height, ppi, twips] : cases)
        EXPECT_EQ(font_arithmetic::TwipsForHeight(height, ppi), twips) << height << " at " << ppi;
}

// The description the page builds: the size box's leading number as a
// height at the pixels per inch, the face and the charset; nothing else.
TEST(FontDescription, BuildReadsTheSizeTextAsAHeight) {
    const std::tuple<const char*, int, int> cases[] = {  // the size text, pixels per inch, height
        {"11", 96, -15},  {"11", 120, -18}, {"  12pt", 96, -16}, {"+9", 96, -12}, {"10.5", 96, -13},
        {"20", 96, -27},  {"-4", 96, 5},     // a negative size asks for a cell height
        {"", 96, 0},      {"abc", 96, 0},   {" - 3", 96, 0},     {"99999999999", 96, -INT_MAX},
        {"-99999999999", 96, INT_MAX},
    };
    for (const auto& [size, ppi, height] : cases) {
        LOGFONT expected{.lfHeight = height, .lfCharSet = 129};
        font_description::SetFaceName(expected, "Courier New");
        EXPECT_EQ(font_description::Build("Courier New", size, ppi, 129), expected)
            << "size \"" << size << "\" at " << ppi;
    }
}

// A box shows a value as the first entry that begins with it, case aside.
TEST(ListMatch, FindsTheFirstEntryBeginningWithTheText) {
    const std::vector<std::string> sizes = {"8", "9", "10", "11", "12", "14", "16", "18", "20", "22", "36", "48"};
    const std::vector<std::string> faces = {"Courier 10 Pitch", "Courier New", "DejaVu Sans"};
    const struct {
        const std::vector<std::string>& entries;
        const char* text;
        std::optional<std::size_t> index;
    } cases[] = {
        {sizes, "2", 8},         {sizes, "1", 2},         {sizes, "11", 3},      {sizes, "4", 11},
        {sizes, "", 0},          {sizes, "13", {}},       {sizes, "-15", {}},    {sizes, "100", {}},
        {faces, "courier n", 1}, {faces, "COURIER", 0},   {faces, "dejavu sans", 2},
        {faces, "DejaVu Sans Mono", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(list_match::FindFirstPrefix(c.entries, c.text), c.index) << '"' << c.text << '"';
}

TEST(FaceNameList, ListsEachFaceOnceSortedWithoutRegardToCase) {
    CFaceNameList list;
    for (const char* face : {"Nimbus Mono", "DejaVu Sans", "dejavu sans", "abc", "DEJAVU SANS", "", "Zed", "Bitstream",
                             "DejaVu Sans Mono", "nimbus mono"})
        list.Add(face);
    EXPECT_EQ(list.Names(),
              (std::vector<std::string>{"abc", "Bitstream", "DejaVu Sans", "DejaVu Sans Mono", "Nimbus Mono", "Zed"}));
}

}  // namespace
