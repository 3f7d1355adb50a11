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
        std::string read;  // the value taken, else the message
    } cases[] = {
        {"25", "25"}, {"  25\t", "25"}, {"+7", "7"}, {"007", "7"}, {"1", "1"}, {"1000", "1000"},
        {"0", kRange}, {"1001", kRange}, {"-5", kRange},  // integers, but out of range
        {"99999999999", kRange}, {"-99999999999", kRange},  // too large for an int: never wrapped
        {"12a", kNotInteger}, {"1 2", kNotInteger}, {"0x10", kNotInteger}, {"", kNotInteger}, {"   ", kNotInteger},
        {"-", kNotInteger}, {" 25\n", kNotInteger},  // only blanks and tabs may follow
        // A 0 reading counts only when the number starts with the digit "0":
        // blanks before it are not part of the number, a sign is.
        {" 0", kRange}, {"\t00 ", kRange}, {"+0", kNotInteger}, {"-00", kNotInteger},
        // Only the first 31 characters are read.
        {std::string(30, ' ') + "5x", "5"}, {std::string(29, ' ') + "5x", kNotInteger},
        {std::string(29, ' ') + "123", "12"},
    };
    for (const auto& c : cases) {
        const integer_field::Reading reading = integer_field::ReadInRange(c.text, 1, 1000);
        EXPECT_EQ(reading.Accepted() ? std::to_string(reading.value) : reading.message, c.read) << '"' << c.text << '"';
    }
}

}  // namespace
