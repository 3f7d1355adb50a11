// The formatter's table case by case, and NULL shown as a text. (Every line
// one append of the same width, with arbitrary columns and rows:
// fuzz/result_formatter_fuzz.cpp, run by scripts/test.sh.)
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

// A table as the formatter writes it: the header, the rule and the rows
// (each line without its line end), then the count.
std::string Table(const std::vector<std::string>& lines, int rows) {
    std::string text = "\r\n";
    for (const std::string& line : lines) text += line + "\r\n";
    return text + std::to_string(rows) + " row(s) fetched\r\n";
}

TEST(ResultFormatterTest, WritesTheTable) {
    const struct {
        const char* name;
        int defColLen, maxColLen;
        std::vector<FakeColumn> columns;
        std::vector<FakeRow> rows;
        std::string expected;  // every byte appended
        bool fetchError = false, throws = false;
    } cases[] = {
        {"WorkedExample", 10, 100, {{"ID", 10}, {"NAME", 5}}, {{"1", "abc"}, {std::nullopt, "xy"}},
         Table({"ID         NAME  ", "---------- ----- ", "1          abc   ", "           xy    "}, 2)},
        {"NoRows", 10, 100, {{"A", 3}}, {}, Table({"A   ", "--- "}, 0)},
        {"SizeZeroTakesDefColLen", 6, 100, {{"A", 0}}, {{"x"}}, Table({"A      ", "------ ", "x      "}, 1)},
        {"DefColLenIsBoundedByMaxColLen", 10, 4, {{"A", 0}}, {{"abcdef"}}, Table({"A   ", "--- ", "abc "}, 1)},
        {"NegativeDefColLenIsZero", -3, 100, {{"A", 0}}, {{"x"}}, Table({" ", " ", " "}, 1)},
        {"HugeSizeIsBoundedAsUnsigned", 10, 4, {{"A", std::numeric_limits<SQLULEN>::max()}}, {{"abcdef"}},
         Table({"A   ", "--- ", "abc "}, 1)},
        {"Size255AtMaxColLen100", 10, 100, {{"C", 255}}, {{std::string(150, 'v')}},
         Table({"C" + std::string(99, ' '), std::string(99, '-') + " ", std::string(99, 'v') + " "}, 1)},
        {"LongerNameIsCut", 10, 100, {{"DESCRIPTION", 1}}, {{"x"}}, Table({"D ", "- ", "x "}, 1)},
        {"ValueLongerThanColumnIsCut", 10, 100, {{"N", 3}}, {{"-123"}}, Table({"N   ", "--- ", "-12 "}, 1)},
        {"NullIsBlankNotTheStaleValue", 10, 100, {{"A", 3}}, {{"abc"}, {std::nullopt}, {""}},
         Table({"A   ", "--- ", "abc ", "    ", "    "}, 3)},
        {"MaxColLenOneGivesZeroWidths", 10, 1, {{"", 5}, {"", 0}}, {{"a", "b"}}, Table({"  ", "  ", "  "}, 1)},
        {"MaxColLenBelowOneActsAsOne", 10, -7, {{"", 5}}, {{"a"}}, Table({" ", " ", " "}, 1)},
        // Hand-edited settings: treated as 1000, the most the preferences accept.
        {"HugeMaxColLenActsAsAThousand", 2000000000, 2000000000, {{"", 0}}, {{std::string(1050, 'v')}},
         Table({std::string(1000, ' '), std::string(999, '-') + " ", std::string(999, 'v') + " "}, 1)},
        {"NameOfMaxColLenStopsTheHeader", 10, 5, {{"AB", 2}, {"ABCDE", 2}, {"C", 2}}, {{"1", "2", "3"}}, "\r\nAB ", false,
         true},
        {"FetchErrorKeepsRowsAndCount", 10, 100, {{"X", 2}}, {{"0"}, {"1"}}, Table({"X  ", "-- ", "0  ", "1  "}, 2), true,
         true},
        {"DoubleWidthCutAtCharacter", 10, 100, {{"C", 3}, {"D", 4}}, {{kKanji + kJi, kKanji + kJi + kKanji}},
         Table({"C   D    ", "--- ---- ", kKanji + "  " + kKanji + kJi + " "}, 1)},
        {"Utf8NameCountsColumns", 10, 100, {{kKanji + kJi + kKanji, 5}}, {{"\xC3\xA9t\xC3\xA9"}},
         Table({kKanji + kJi + "  ", "----- ", "\xC3\xA9t\xC3\xA9   "}, 1)},
        // The driver cuts at MaxColLen - 1 bytes, here inside the second character.
        {"CharacterCutByTheDriverIsDropped", 10, 6, {{"C", 10}}, {{kKanji + kJi + kKanji}},
         Table({"C     ", "----- ", kKanji + "    "}, 1)},
        {"NoColumns", 10, 100, {}, {FakeRow{}}, Table({"", "", ""}, 1)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CFakeStatement statement(c.columns, c.rows, c.fetchError);
        CRecordingSink sink;
        const auto print = [&] { CResultFormatter(c.defColLen, c.maxColLen).Print(statement, sink); };
        if (c.throws)
            EXPECT_THROW(print(), CDBException);
        else
            EXPECT_NO_THROW(print());
        EXPECT_EQ(sink.Text(), c.expected);
    }
}

// NULL shown as a text: a real NULL shows it, cut to the column like any
// value, and no other value ever reads the same, however it was cut; only
// the NULL text itself, shown whole, does.
TEST(NullTextTest, OnlyNullAndTheNullTextItselfShowIt) {
    const std::string nihon = "\xE6\x97\xA5\xE6\x9C\xAC";   // two characters of two columns each
    // size: the column's width; cell: the row's line without its line end
    const struct {
        std::string nullText;
        SQLULEN size;
        std::optional<std::string> value;
        std::string cell;
        int maxColLen = 100;
    } cases[] = {
        {"NULL", 4, std::nullopt, "NULL "}, {"NULL", 4, "NULX", "NULX "}, {"NULL", 6, std::nullopt, "NULL   "},
        {"NULL", 4, "NULL", "NULL "},            // the NULL text itself
        {"NULL", 4, "NULLS", "NUL~ "},           // cut to the width
        {"NULL", 6, "NULL  x", "NULL ~ "},       // cut after blanks that pad the NULL cell
        {"NULL", 6, "NULL ", "NULL ~ "},         // not the NULL text, though it reads the same
        {"(null)", 3, std::nullopt, "(nu "},     // the NULL text cut like a value
        {"(null)", 3, "(null)", "(n~ "},         // the NULL text, but cut: not NULL
        {"(null)", 3, "(nu", "(n~ "}, {"N", 1, "No", "~ "},
        {"~~", 2, "~~~", "~> "},                 // the mark differs from the NULL cell's last column
        {nihon, 3, std::nullopt, nihon.substr(0, 3) + "  "}, {nihon, 3, nihon + "x", nihon.substr(0, 3) + "~ "},
        {"abc", 10, "abcdef", "ab~ ", 4},        // cut by the driver's buffer to the NULL text
        {"abc", 10, "abc", "abc ", 4},
        {"", 3, std::nullopt, "    "},           // no NULL text: blank, as without one
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nullText + " / " + c.value.value_or("NULL") + " in " + std::to_string(c.size));
        CFakeStatement statement({{"C", c.size}}, {{c.value}});
        CRecordingSink sink;
        CResultFormatter(10, c.maxColLen, nullptr, c.nullText).Print(statement, sink);
        ASSERT_EQ(sink.Appends().size(), 6u);
        EXPECT_EQ(sink.Appends()[4], c.cell + "\r\n");
    }
}

}  // namespace
