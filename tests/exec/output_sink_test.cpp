#include "exec/spool_tee.h"
#include "recording_sink.h"
#include "support/case_name.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

using test_env::ReadFile;

struct WrapCase {
    const char* name;
    int width;
    std::string text;
    std::vector<std::string> appends;
};

class AppendWrappedTest : public ::testing::TestWithParam<WrapCase> {};

TEST_P(AppendWrappedTest, AppendsThePiecesAndLineEnds) {
    const WrapCase& c = GetParam();
    CRecordingSink sink(c.width);
    sink.AppendWrapped(c.text);
    EXPECT_EQ(sink.Appends(), c.appends);
}

const std::string k40(40, 'a');
const std::string k81 = std::string(40, 'a') + std::string(40, 'b') + "c";
const std::string kKanji = "\xE6\xBC\xA2";  // three bytes, two columns

INSTANTIATE_TEST_SUITE_P(
    Cases, AppendWrappedTest,
    ::testing::Values(
        WrapCase{"ExactWidthUnchanged", 40, k40, {k40}},
        WrapCase{"ShorterUnchanged", 40, "abc", {"abc"}},
        WrapCase{"EmptyTextStillAppendedOnce", 40, "", {""}},
        WrapCase{"EightyOneBytes", 40, k81, {std::string(40, 'a'), "\r\n", std::string(40, 'b'), "\r\n", "c"}},
        WrapCase{"LineEndsCountAsBytes", 4, "\r\nError", {"\r\nEr", "\r\n", "ror"}},
        WrapCase{"WidthZeroWrapsAsOne", 0, "abc", {"a", "\r\n", "b", "\r\n", "c"}},
        WrapCase{"NegativeWidthWrapsAsOne", -5, "ab", {"a", "\r\n", "b"}},
        // A character wider than the line still goes on a line of its own.
        // (Where lines may be cut: see display_text_test.)
        WrapCase{"DoubleWidthInOneColumn", 1, kKanji + "a", {kKanji, "\r\n", "a"}}),
    CaseName<WrapCase>);

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
}

TEST(SpoolTeeTest, UnopenablePathPassesTextToThePaneOnly) {
    CRecordingSink pane;
    CSpoolTee tee(pane, test_env::TempPath("no/such/folder/out.txt"));
    EXPECT_FALSE(tee.IsOpen());
    tee.AppendText("text\r\n");
    EXPECT_EQ(pane.Text(), "text\r\n");
    EXPECT_FALSE(std::filesystem::exists(test_env::TempPath("no")));
}

}  // namespace
