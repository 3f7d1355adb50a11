#include "history/history_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

TEST(HistoryListTest, TwentySecondAppendDropsTheOldestLeavingTwentyOne) {
    CHistoryList history;
    for (int run = 1; run <= 22; ++run) {
        history.Append("script " + std::to_string(run));
        EXPECT_EQ(history.Size(), static_cast<std::size_t>(std::min(run, 21)));
        EXPECT_EQ(history.Current(), "script " + std::to_string(run));
        EXPECT_FALSE(history.CanGoNext());
    }
    EXPECT_EQ(history.Entry(0), "script 2");
    EXPECT_EQ(history.Entry(20), "script 22");
    EXPECT_EQ(history.CurrentIndex(), 20u);
}

TEST(HistoryListTest, NavigatesBetweenTheEndsWithoutPassingThem) {
    CHistoryList history;
    EXPECT_FALSE(history.CanGoPrevious() || history.CanGoNext());
    history.Append("first");
    EXPECT_FALSE(history.CanGoPrevious() || history.CanGoNext());
    history.Append("second");
    history.Append("");  // an empty script is a valid entry
    // Back to the oldest, where it stays, and forward again.
    const std::vector<std::string> back = {history.GoPrevious(), history.GoPrevious()};
    EXPECT_EQ(back, (std::vector<std::string>{"second", "first"}));
    EXPECT_FALSE(history.CanGoPrevious());
    EXPECT_TRUE(history.CanGoNext());
    const std::vector<std::string> forward = {history.GoPrevious(), history.GoNext(), history.GoNext()};
    EXPECT_EQ(forward, (std::vector<std::string>{"first", "second", ""}));
    EXPECT_FALSE(history.CanGoNext());

    history.SetCurrent(0);
    EXPECT_EQ(history.Current(), "first");
    history.SetCurrent(7);  // no such entry: the current one stays
    EXPECT_EQ(history.CurrentIndex(), 0u);
    history.Append("first");  // equal texts are separate entries; the new one is current
    EXPECT_EQ(history.Size(), 4u);
    EXPECT_EQ(history.CurrentIndex(), 3u);
}

// The list line shows the first 99 characters with line breaks as blanks,
// the preview the first 999; both count UTF-8 characters and never split
// one, and a stray byte counts as a character of its own.
TEST(HistoryListTest, ListLineAndPreviewCutAtCharacters) {
    const std::string kanji = "\xE6\xBC\xA2";
    std::string digits, kanjis;
    for (int i = 0; i < 200; ++i) digits += "0123456789";
    for (int i = 0; i < 1200; ++i) kanjis += kanji;
    const std::string lines = std::string(40, 'a') + "\r\n" + std::string(108, 'b');
    const std::string stray = std::string(98, 'x') + "\xFF" + kanji;
    const struct { std::string script, listLine, preview; } cases[] = {
        {lines, std::string(40, 'a') + "  " + std::string(57, 'b'), lines}, {"a\rb\nc", "a b c", "a\rb\nc"},
        {"", "", ""}, {digits, digits.substr(0, 99), digits.substr(0, 999)},
        {kanjis, kanjis.substr(0, 99 * 3), kanjis.substr(0, 999 * 3)}, {stray, std::string(98, 'x') + "\xFF", stray},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CHistoryList::ListLine(c.script), c.listLine) << c.script.substr(0, 20);
        EXPECT_EQ(CHistoryList::Preview(c.script), c.preview) << c.script.substr(0, 20);
    }
}

}  // namespace
