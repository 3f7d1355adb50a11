#include "exec/result_formatter.h"
#include "fake_statement.h"
#include "recording_sink.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace {

const std::string kKanji = "\xE6\xBC\xA2";  // three bytes, two columns
const std::string kJi = "\xE5\xAD\x97";     // three bytes, two columns

std::string Line(const std::string& text) { return text + "\r\n"; }

struct FormatCase {
    const char* name;
    int defColLen;
    int maxColLen;
    std::vector<FakeColumn> columns;
    std::vector<FakeRow> rows;
    bool fetchError;
    std::string expected;  // every byte appended
    bool throws;
};

class ResultFormatterTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(ResultFormatterTest, WritesTheTable) {
    const FormatCase& c = GetParam();
    CFakeStatement statement(c.columns, c.rows, c.fetchError);
    CRecordingSink sink;
    CResultFormatter formatter(c.defColLen, c.maxColLen);
    if (c.throws) {
        EXPECT_THROW(formatter.Print(statement, sink), CDBException);
    } else {
        EXPECT_NO_THROW(formatter.Print(statement, sink));
    }
    EXPECT_EQ(sink.Text(), c.expected);
}

const std::string k150(150, 'v');

INSTANTIATE_TEST_SUITE_P(
    Cases, ResultFormatterTest,
    ::testing::Values(
        FormatCase{"WorkedExample", 10, 100, {{"ID", 10}, {"NAME", 5}}, {{"1", "abc"}, {std::nullopt, "xy"}}, false,
                   "\r\n" "ID         NAME  " "\r\n" + Line("---------- ----- ") + Line("1          abc   ") +
                       Line("           xy    ") + "2 row(s) fetched\r\n",
                   false},
        FormatCase{"NoRows", 10, 100, {{"A", 3}}, {}, false,
                   "\r\n" "A   " "\r\n" + Line("--- ") + "0 row(s) fetched\r\n", false},
        FormatCase{"SizeZeroTakesDefColLen", 6, 100, {{"A", 0}}, {{"x"}}, false,
                   "\r\n" "A      " "\r\n" + Line("------ ") + Line("x      ") + "1 row(s) fetched\r\n", false},
        FormatCase{"DefColLenIsBoundedByMaxColLen", 10, 4, {{"A", 0}}, {{"abcdef"}}, false,
                   "\r\n" "A   " "\r\n" + Line("--- ") + Line("abc ") + "1 row(s) fetched\r\n", false},
        FormatCase{"NegativeDefColLenIsZero", -3, 100, {{"A", 0}}, {{"x"}}, false,
                   "\r\n" " " "\r\n" + Line(" ") + Line(" ") + "1 row(s) fetched\r\n", false},
        FormatCase{"HugeSizeIsBoundedAsUnsigned", 10, 4, {{"A", std::numeric_limits<SQLULEN>::max()}}, {{"abcdef"}},
                   false, "\r\n" "A   " "\r\n" + Line("--- ") + Line("abc ") + "1 row(s) fetched\r\n", false},
        FormatCase{"Size255AtMaxColLen100", 10, 100, {{"C", 255}}, {{k150}}, false,
                   "\r\n" "C" + std::string(99, ' ') + "\r\n" + Line(std::string(99, '-') + " ") +
                       Line(std::string(99, 'v') + " ") + "1 row(s) fetched\r\n",
                   false},
        FormatCase{"LongerNameIsCut", 10, 100, {{"DESCRIPTION", 1}}, {{"x"}}, false,
                   "\r\n" "D " "\r\n" + Line("- ") + Line("x ") + "1 row(s) fetched\r\n", false},
        FormatCase{"ValueLongerThanColumnIsCut", 10, 100, {{"N", 3}}, {{"-123"}}, false,
                   "\r\n" "N   " "\r\n" + Line("--- ") + Line("-12 ") + "1 row(s) fetched\r\n", false},
        FormatCase{"NullIsBlankNotTheStaleValue", 10, 100, {{"A", 3}}, {{"abc"}, {std::nullopt}, {""}}, false,
                   "\r\n" "A   " "\r\n" + Line("--- ") + Line("abc ") + Line("    ") + Line("    ") +
                       "3 row(s) fetched\r\n",
                   false},
        FormatCase{"MaxColLenOneGivesZeroWidths", 10, 1, {{"", 5}, {"", 0}}, {{"a", "b"}}, false,
                   "\r\n" "  " "\r\n" + Line("  ") + Line("  ") + "1 row(s) fetched\r\n", false},
        FormatCase{"MaxColLenBelowOneActsAsOne", 10, -7, {{"", 5}}, {{"a"}}, false,
                   "\r\n" " " "\r\n" + Line(" ") + Line(" ") + "1 row(s) fetched\r\n", false},
        // Hand-edited settings: treated as 1000, the most the preferences accept.
        FormatCase{"HugeMaxColLenActsAsAThousand", 2000000000, 2000000000, {{"", 0}}, {{std::string(1050, 'v')}}, false,
                   "\r\n" + std::string(1000, ' ') + "\r\n" + Line(std::string(999, '-') + " ") +
                       Line(std::string(999, 'v') + " ") + "1 row(s) fetched\r\n", false},
        FormatCase{"NameOfMaxColLenStopsTheHeader", 10, 5, {{"AB", 2}, {"ABCDE", 2}, {"C", 2}}, {{"1", "2", "3"}},
                   false, "\r\n" "AB ", true},
        FormatCase{"FetchErrorKeepsRowsAndCount", 10, 100, {{"X", 2}}, {{"0"}, {"1"}}, true,
                   "\r\n" "X  " "\r\n" + Line("-- ") + Line("0  ") + Line("1  ") + "2 row(s) fetched\r\n", true},
        FormatCase{"DoubleWidthCutAtCharacter", 10, 100, {{"C", 3}, {"D", 4}}, {{kKanji + kJi, kKanji + kJi + kKanji}},
                   false,
                   "\r\n" "C   D    " "\r\n" + Line("--- ---- ") + Line(kKanji + "  " + kKanji + kJi + " ") +
                       "1 row(s) fetched\r\n",
                   false},
        FormatCase{"Utf8NameCountsColumns", 10, 100, {{kKanji + kJi + kKanji, 5}}, {{"\xC3\xA9t\xC3\xA9"}}, false,
                   "\r\n" + kKanji + kJi + "  " "\r\n" + Line("----- ") + Line("\xC3\xA9t\xC3\xA9   ") +
                       "1 row(s) fetched\r\n",
                   false},
        // The driver cuts at MaxColLen - 1 bytes, here inside the second character.
        FormatCase{"CharacterCutByTheDriverIsDropped", 10, 6, {{"C", 10}}, {{kKanji + kJi + kKanji}}, false,
                   "\r\n" "C     " "\r\n" + Line("----- ") + Line(kKanji + "    ") + "1 row(s) fetched\r\n", false},
        FormatCase{"NoColumns", 10, 100, {}, {FakeRow{}}, false, "\r\n" "\r\n" "\r\n" "\r\n" "1 row(s) fetched\r\n",
                   false}),
    [](const ::testing::TestParamInfo<FormatCase>& info) { return std::string(info.param.name); });

TEST(ResultFormatterLineTest, EveryLineHasTheSameDisplayWidth) {
    CFakeStatement statement({{"A", 4}, {"BB", 0}, {"C", 2}},
                             {{"1", std::nullopt, "xyz"}, {kKanji + kKanji + kJi, "long value here", ""}});
    CRecordingSink sink;
    CResultFormatter(3, 100).Print(statement, sink);
    // Each row arrives as one append: the line and its "\r\n".
    const std::vector<std::string>& appends = sink.Appends();
    ASSERT_EQ(appends.size(), 1u + 3 + 1 + 1 + 2 + 1);
    EXPECT_EQ(appends[5], Line("---- --- -- "));
    EXPECT_EQ(appends[6], Line("1        xy "));
    EXPECT_EQ(appends[7], Line(kKanji + kKanji + " lon    "));
    EXPECT_EQ(appends[8], "2 row(s) fetched\r\n");
}

}  // namespace
