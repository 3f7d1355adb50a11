#include "runner/unified_diff.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Numbers(int from, int to, int changed1 = 0, int changed2 = 0) {
    std::string text;
    for (int i = from; i <= to; ++i) text += (i == changed1 || i == changed2 ? "x" : "") + std::to_string(i) + "\n";
    return text;
}

TEST(UnifiedDiffTest, HunksAsDiffWritesThem) {
    const struct {
        const char* name;
        std::string expected, actual, diff;   // diff without the two header lines
    } cases[] = {
        {"equal", "a\nb", "a\nb", ""},
        {"one line in the middle", Numbers(1, 10), Numbers(1, 10, 5),
         "@@ -2,7 +2,7 @@\n 2\n 3\n 4\n-5\n+x5\n 6\n 7\n 8\n"},
        {"far apart: two hunks", Numbers(1, 20), Numbers(1, 20, 2, 18),
         "@@ -1,5 +1,5 @@\n 1\n-2\n+x2\n 3\n 4\n 5\n@@ -15,6 +15,6 @@\n 15\n 16\n 17\n-18\n+x18\n 19\n 20\n"},
        {"six lines apart: one hunk", Numbers(1, 20), Numbers(1, 20, 2, 9),
         "@@ -1,12 +1,12 @@\n 1\n-2\n+x2\n 3\n 4\n 5\n 6\n 7\n 8\n-9\n+x9\n 10\n 11\n 12\n"},
        {"inserted", "1\n2\n3\n", "1\n2\nnew\n3\n", "@@ -1,3 +1,4 @@\n 1\n 2\n+new\n 3\n"},
        {"from nothing", "", "a\nb\n", "@@ -0,0 +1,2 @@\n+a\n+b\n"},
        {"one line each", "a\n", "b\n", "@@ -1 +1 @@\n-a\n+b\n"},
        {"line ends", "a\r\n", "a\n", "@@ -1 +1 @@\n-a\r\n+a\n"},
        {"no newline at the end", "x\ny\n", "x\ny", "@@ -1,2 +1,2 @@\n x\n-y\n+y\n\\ No newline at end of file\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string header = c.diff.empty() ? "" : "--- old.txt\n+++ (new)\n";
        EXPECT_EQ(CUnifiedDiff::Make(c.expected, c.actual, "old.txt", "(new)"), header + c.diff);
    }
}

// The fewest lines changed where the edit is short; beyond that the changed
// middle is removed and added whole.
TEST(UnifiedDiffTest, ShortestEditUntilTooManyLinesDiffer) {
    // Lines of the hunks that start with mark.
    const auto count = [](const std::string& diff, char mark) {
        std::size_t n = 0;
        for (std::size_t at = diff.find("\n@@"); at != std::string::npos; at = diff.find('\n', at + 1))
            n += at + 1 < diff.size() && diff[at + 1] == mark;
        return n;
    };
    const std::string shortest = CUnifiedDiff::Make("a\nb\nc\na\nb\nb\na\n", "c\nb\na\nb\na\nc\n", "e", "a");
    EXPECT_EQ(count(shortest, '-') + count(shortest, '+'), 5u) << shortest;

    std::string many, others;
    for (int i = 0; i < 1500; ++i) {
        many += "m" + std::to_string(i) + "\n";
        others += "o" + std::to_string(i) + "\n";
    }
    const std::string whole = CUnifiedDiff::Make("same\n" + many, "same\n" + others, "e", "a");
    EXPECT_TRUE(whole.starts_with("--- e\n+++ a\n@@ -1,1501 +1,1501 @@\n same\n-m0\n")) << whole.substr(0, 100);
    EXPECT_EQ(count(whole, '-'), 1500u);
    EXPECT_EQ(count(whole, '+'), 1500u);
}

}  // namespace
