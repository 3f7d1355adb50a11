#include "exec/spool_tee.h"
#include "recording_sink.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

using test_env::ReadFile;

TEST(OutputSinkTest, AppendWrappedAppendsThePiecesAndLineEnds) {
    const std::string k40(40, 'a'), kKanji = "\xE6\xBC\xA2";  // three bytes, two columns
    const struct { int width; std::string text; std::vector<std::string> appends; } cases[] = {
        {40, k40, {k40}},
        {40, "abc", {"abc"}},
        {40, "", {""}},  // an empty text is still appended once
        {40, k40 + std::string(40, 'b') + "c", {k40, "\r\n", std::string(40, 'b'), "\r\n", "c"}},
        {4, "\r\nError", {"\r\nEr", "\r\n", "ror"}},  // line ends count as bytes
        {0, "abc", {"a", "\r\n", "b", "\r\n", "c"}},  // a width below one wraps as one
        {-5, "ab", {"a", "\r\n", "b"}},
        // A character wider than the line still goes on a line of its own.
        // (Where lines may be cut: see display_text_test.)
        {1, kKanji + "a", {kKanji, "\r\n", "a"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text + " at " + std::to_string(c.width));
        CRecordingSink sink(c.width);
        sink.AppendWrapped(c.text);
        EXPECT_EQ(sink.Appends(), c.appends);
    }
}

TEST(SpoolTeeTest, TeesEveryAppendIncludingTheWrappedForm) {
    const std::string path = test_env::WriteFile(test_env::TempPath("tee.txt"), "earlier run\r\n");
    CRecordingSink pane(4);
    {
        CSpoolTee tee(pane, path);
        ASSERT_TRUE(tee.IsOpen());
        EXPECT_EQ(tee.WrapWidth(), 4);
        tee.AppendText("SQL> x");
        tee.AppendWrapped("\r\nError: bad\r\n");
        tee.Close();
        EXPECT_FALSE(tee.IsOpen());
        tee.AppendText("pane only\r\n");
    }
    const std::string wrapped = "SQL> x\r\nEr\r\nror:\r\n bad\r\n\r\n";
    EXPECT_EQ(pane.Text(), wrapped + "pane only\r\n");
    EXPECT_EQ(ReadFile(path), "earlier run\r\n" + wrapped);

    // A path that cannot be opened passes text to the pane only.
    CRecordingSink other;
    CSpoolTee unopened(other, test_env::TempPath("no/such/folder/out.txt"));
    EXPECT_FALSE(unopened.IsOpen());
    unopened.AppendText("text\r\n");
    EXPECT_EQ(other.Text(), "text\r\n");
    EXPECT_FALSE(std::filesystem::exists(test_env::TempPath("no")));
}

}  // namespace
