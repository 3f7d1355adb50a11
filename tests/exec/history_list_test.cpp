#include "exec/history_list.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <string>

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
    EXPECT_FALSE(history.CanGoPrevious());
    EXPECT_FALSE(history.CanGoNext());

    history.Append("first");
    EXPECT_FALSE(history.CanGoPrevious());
    EXPECT_FALSE(history.CanGoNext());

    history.Append("second");
    history.Append("");  // an empty script is a valid entry
    EXPECT_EQ(history.GoPrevious(), "second");
    EXPECT_EQ(history.GoPrevious(), "first");
    EXPECT_FALSE(history.CanGoPrevious());
    EXPECT_TRUE(history.CanGoNext());
    EXPECT_EQ(history.GoPrevious(), "first");  // stays at the oldest

    EXPECT_EQ(history.GoNext(), "second");
    EXPECT_EQ(history.GoNext(), "");
    EXPECT_FALSE(history.CanGoNext());

    history.SetCurrent(0);
    EXPECT_EQ(history.Current(), "first");
    history.SetCurrent(7);  // no such entry: the current one stays
    EXPECT_EQ(history.CurrentIndex(), 0u);

    history.Append("first");  // equal texts are separate entries; the new one is current
    EXPECT_EQ(history.Size(), 4u);
    EXPECT_EQ(history.CurrentIndex(), 3u);
}

TEST(HistoryListTest, ListLineShowsTheFirst99CharactersWithLineBreaksAsBlanks) {
    const std::string firstLine(40, 'a');
    const std::string script = firstLine + "\r\n" + std::string(108, 'b');
    ASSERT_EQ(script.size(), 150u);

    EXPECT_EQ(CHistoryList::ListLine(script), firstLine + "  " + std::string(57, 'b'));
    EXPECT_EQ(CHistoryList::Preview(script), script);
    EXPECT_EQ(CHistoryList::ListLine("a\rb\nc"), "a b c");
    EXPECT_EQ(CHistoryList::ListLine(""), "");
}

TEST(HistoryListTest, PreviewShowsTheFirst999Characters) {
    std::string script;
    for (int i = 0; i < 200; ++i) script += "0123456789";
    EXPECT_EQ(CHistoryList::Preview(script), script.substr(0, 999));
    EXPECT_EQ(CHistoryList::ListLine(script), script.substr(0, 99));
}

TEST(HistoryListTest, CutsCountUtf8CharactersAndNeverSplitOne) {
    const std::string kanji = "\xE6\xBC\xA2";  // one character, three bytes
    std::string script;
    for (int i = 0; i < 1200; ++i) script += kanji;

    EXPECT_EQ(CHistoryList::ListLine(script).size(), 99u * 3);
    EXPECT_EQ(CHistoryList::Preview(script).size(), 999u * 3);

    // A stray byte counts as one character of its own.
    const std::string stray = std::string(98, 'x') + "\xFF" + kanji;
    EXPECT_EQ(CHistoryList::ListLine(stray), std::string(98, 'x') + "\xFF");
}

}  // namespace
