#include "settings/integer_field.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kRange = "Please enter an integer between 1 and 1000.";
const std::string kNotInteger = "Please enter an integer.";

// A column width as the General page reads it: the value, or the message
// that refuses the text.
TEST(IntegerField, WidthTextIsReadAndChecked) {
    const struct {
        std::string text;
        std::string message;  // empty: accepted
        int value;            // when accepted
    } cases[] = {
        {"25", "", 25},
        {"  25\t", "", 25},
        {"+7", "", 7},
        {"007", "", 7},
        {"1", "", 1},
        {"1000", "", 1000},
        {"0", kRange, 0},
        {"1001", kRange, 0},
        {"-5", kRange, 0},           // an integer, but out of range
        {"99999999999", kRange, 0},  // too large for an int: out of range, never wrapped
        {"-99999999999", kRange, 0},
        {"12a", kNotInteger, 0},
        {"1 2", kNotInteger, 0},
        {"0x10", kNotInteger, 0},
        {"", kNotInteger, 0},
        {"   ", kNotInteger, 0},
        {"-", kNotInteger, 0},
        {" 25\n", kNotInteger, 0},  // only blanks and tabs may follow
        // A 0 reading counts only when the number starts with the digit "0":
        // blanks before it are not part of the number, a sign is.
        {" 0", kRange, 0},
        {"\t00 ", kRange, 0},
        {"+0", kNotInteger, 0},
        {"-00", kNotInteger, 0},
        // Only the first 31 characters are read.
        {std::string(30, ' ') + "5x", "", 5},
        {std::string(29, ' ') + "5x", kNotInteger, 0},
        {std::string(29, ' ') + "123", "", 12},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("text \"" + c.text + "\"");
        const integer_field::Reading reading = integer_field::ReadInRange(c.text, 1, 1000);
        EXPECT_EQ(reading.message, c.message);
        if (c.message.empty()) {
            EXPECT_EQ(reading.value, c.value);
        }
    }
}

}  // namespace
