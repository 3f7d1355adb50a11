// NULL shown as a text in the transcript's table: a real NULL shows it, cut
// to the column like any value, and no other value ever reads the same,
// however it was cut; only the NULL text itself, shown whole, does.
#include "exec/result_formatter.h"
#include "fake_statement.h"
#include "recording_sink.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kNihon = "\xE6\x97\xA5\xE6\x9C\xAC";   // two characters of two columns each

struct NullCase {
    std::string nullText;
    SQLULEN size;                    // the column's width
    std::optional<std::string> value;
    std::string cell;                // the row's line without its line end
    int maxColLen = 100;
};

TEST(NullTextTest, OnlyNullAndTheNullTextItselfShowIt) {
    const NullCase cases[] = {
        {"NULL", 4, std::nullopt, "NULL "},
        {"NULL", 4, "NULL", "NULL "},            // the NULL text itself
        {"NULL", 4, "NULX", "NULX "},
        {"NULL", 4, "NULLS", "NUL~ "},           // cut to the width
        {"NULL", 6, std::nullopt, "NULL   "},
        {"NULL", 6, "NULL  x", "NULL ~ "},       // cut after blanks that pad the NULL cell
        {"NULL", 6, "NULL ", "NULL ~ "},         // not the NULL text, though it reads the same
        {"(null)", 3, std::nullopt, "(nu "},     // the NULL text cut like a value
        {"(null)", 3, "(null)", "(n~ "},         // the NULL text, but cut: not NULL
        {"(null)", 3, "(nu", "(n~ "},
        {"~~", 2, "~~~", "~> "},                 // the mark differs from the NULL cell's last column
        {"N", 1, "No", "~ "},
        {kNihon, 3, std::nullopt, kNihon.substr(0, 3) + "  "},
        {kNihon, 3, kNihon + "x", kNihon.substr(0, 3) + "~ "},
        {"abc", 10, "abcdef", "ab~ ", 4},        // cut by the driver's buffer to the NULL text
        {"abc", 10, "abc", "abc ", 4},
        {"", 3, std::nullopt, "    "},           // no NULL text: blank, as without one
    };
    for (const NullCase& c : cases) {
        SCOPED_TRACE(c.nullText + " / " + c.value.value_or("NULL") + " in " + std::to_string(c.size));
        CFakeStatement statement({{"C", c.size}}, {{c.value}});
        CRecordingSink sink;
        CResultFormatter(10, c.maxColLen, nullptr, c.nullText).Print(statement, sink);
        ASSERT_EQ(sink.Appends().size(), 6u);
        EXPECT_EQ(sink.Appends()[4], c.cell + "\r\n");
    }
}

}  // namespace
