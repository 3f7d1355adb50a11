#include "common/display_text.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>

namespace {

using namespace display_text;

TEST(DisplayText, WidthAndCharacters) {
    const struct { std::string text; int width; std::size_t chars; } cases[] = {
        {"", 0, 0},
        {"select\t1", 8, 8},                                             // ASCII: one column per byte, controls included
        {"\xC3\xA9", 1, 1}, {"e\xCC\x81", 1, 2},                         // é, e + combining acute
        {"\xE6\x97\xA5\xE6\x9C\xAC", 4, 2}, {"\xED\x95\x9C", 2, 1},      // 日本, a Hangul syllable
        {"\xEF\xBC\xA1", 2, 1}, {"\xF0\x9F\x98\x80", 2, 1},              // full-width A, a wide emoji
        {"\xF0\xA0\x80\x80", 2, 1},                                      // U+20000, CJK extension B
        {"\xE2\x82\xAC", 1, 1}, {"\xC2\xAD", 1, 1},                      // €, soft hyphen
        {"\xE2\x80\x8B", 0, 1}, {"\xE1\x85\xA0", 0, 1},                  // zero-width space, conjoining Hangul vowel
        {"\xE3\x82\x99", 0, 1},                                          // combining kana mark inside a wide block
        {"\xFF", 1, 1}, {"\x80", 1, 1},                                  // never valid, a stray continuation
        {"\xE6\x97", 2, 2}, {"\xE6\x97" "a", 3, 3}, {"\xF0\x9F\x98", 3, 3},  // cut short, at the end or before ASCII
        {"\xC0\xAF", 2, 2}, {"\xE0\x80\xAF", 3, 3},                      // overlong '/', in two and three bytes
        {"\xED\xA0\x80", 3, 3}, {"\xF4\x90\x80\x80", 4, 4},              // a surrogate, above U+10FFFF
        {"\xF8\x88\x80\x80\x80", 5, 5},                                  // five-byte form
        {"a\xE6\x97\xA5" "b\xFF", 5, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.text));
        EXPECT_EQ(Width(c.text), c.width);
        EXPECT_EQ(PrefixForChars(c.text, c.chars), c.text.size());
        if (c.chars > 0) {
            EXPECT_LT(PrefixForChars(c.text, c.chars - 1), c.text.size());
        }
    }
}

TEST(DisplayText, PrefixForWidth) {
    const std::string nihongo = "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E";
    const struct { std::string text; int limit; std::size_t bytes; int columns; } cases[] = {
        {"abcdef", 3, 3, 3}, {"abc", 10, 3, 3}, {"abc", 0, 0, 0}, {"abc", -1, 0, 0},
        {nihongo, 3, 3, 2},  // a wide character that does not fit stays out
        {nihongo, 4, 6, 4}, {"a\xE6\x97\xA5", 2, 1, 1},
        {"e\xCC\x81x", 1, 3, 1}, {"\xCC\x81" "a", 0, 2, 0},  // a mark goes with its letter
        {"\xFF\xFE" "a", 2, 2, 2}, {"\xE6\x97" "ab", 3, 3, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.text) + " in " + std::to_string(c.limit));
        int columns = -99;
        EXPECT_EQ(PrefixForWidth(c.text, c.limit, &columns), c.bytes);
        EXPECT_EQ(columns, c.columns);
    }
    EXPECT_EQ(PrefixForWidth("abc", 2), 2u);  // columns are optional
}

TEST(DisplayText, PrefixForCharsAndBytes) {
    const std::string nihon = "\xE6\x97\xA5\xE6\x9C\xAC";
    const struct { std::string text; std::size_t limit, forChars, forBytes; } cases[] = {
        {"abc", 2, 2, 2}, {"ab", 5, 2, 2}, {"x", 0, 0, 0}, {nihon, 1, 3, 0}, {nihon, 2, 6, 0}, {nihon, 3, 6, 3},
        {nihon, 4, 6, 3}, {nihon, 10, 6, 6}, {"e\xCC\x81x", 2, 3, 1}, {"\xF0\x9F\x98\x80", 3, 4, 0},
        {"\x97\x97\x97\x97\x97", 2, 2, 2},  // stray bytes may be cut anywhere
        {"a\xE6\x97", 2, 2, 2}, {"\xE6\x97" "ab", 2, 2, 2},  // so may a sequence cut short
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.text) + " at " + std::to_string(c.limit));
        EXPECT_EQ(PrefixForChars(c.text, c.limit), c.forChars);
        EXPECT_EQ(PrefixForBytes(c.text, c.limit), c.forBytes);
    }
}

// On random byte strings the three cuts agree on where characters begin.
TEST(DisplayText, RandomBytesCutOnlyAtCharacterBoundaries) {
    const unsigned char alphabet[] = {'a', ' ', 0xC3, 0xA9, 0xE6, 0x97, 0xA5, 0xF0, 0x9F,
                                      0x98, 0x80, 0xFF, 0xCC, 0x81, 0xED, 0xA0};
    std::mt19937 random(7);
    std::uniform_int_distribution<std::size_t> pick(0, sizeof alphabet - 1), length(0, 12);
    for (int round = 0; round < 5000; ++round) {
        std::string text(length(random), ' ');
        for (char& c : text) c = static_cast<char>(alphabet[pick(random)]);
        SCOPED_TRACE(testing::PrintToString(text));

        std::set<std::size_t> boundaries;
        for (std::size_t n = 0; n <= text.size(); ++n) boundaries.insert(PrefixForChars(text, n));
        ASSERT_TRUE(boundaries.count(0) && boundaries.count(text.size()));
        for (std::size_t n = 0; n <= text.size(); ++n)
            EXPECT_EQ(PrefixForBytes(text, n), *std::prev(boundaries.upper_bound(n))) << n;

        const int width = Width(text);
        int columns = -1;
        EXPECT_EQ(PrefixForWidth(text, width, &columns), text.size());
        EXPECT_EQ(columns, width);
        for (int w = 0; w < width; ++w) {
            const std::size_t cut = PrefixForWidth(text, w, &columns);
            EXPECT_TRUE(boundaries.count(cut)) << w;
            EXPECT_LE(columns, w);
            EXPECT_EQ(Width(text.substr(0, cut)), columns);
        }
    }
}

}  // namespace
