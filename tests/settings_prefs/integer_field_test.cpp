#include "settings/integer_field.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

const std::string kRange = "Please enter an integer between 1 and 1000.";
const std::string kNotInteger = "Please enter an integer.";

struct Case {
    std::string text;
    std::string message;  // empty: accepted
    int value;            // when accepted
};

TEST(IntegerField, WidthTextIsReadAndChecked) {
    const Case cases[] = {
        {"25", "", 25},
        {"  25  ", "", 25},
        {"\t25\t", "", 25},
        {"+7", "", 7},
        {"007", "", 7},
        {"1", "", 1},
        {"1000", "", 1000},
        {"0", kRange, 0},
        {"1001", kRange, 0},
        {"-5", kRange, 0},                // an integer, but out of range
        {"99999999999", kRange, 0},       // too large for an int: still out of range, never wrapped
        {"-99999999999", kRange, 0},
        {"12a", kNotInteger, 0},
        {"1 2", kNotInteger, 0},
        {"0x10", kNotInteger, 0},
        {"5.0", kNotInteger, 0},
        {"", kNotInteger, 0},
        {"   ", kNotInteger, 0},
        {"+", kNotInteger, 0},
        {"-", kNotInteger, 0},
        {"abc", kNotInteger, 0},
        {" 25\n", kNotInteger, 0},        // only blanks and tabs may follow
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("text \"" + c.text + "\"");
        const integer_field::Reading reading = integer_field::ReadInRange(c.text, 1, 1000);
        EXPECT_EQ(reading.message, c.message);
        if (c.message.empty()) {
            EXPECT_EQ(reading.value, c.value);
        }
    }
}

// A reading of 0 counts only when the number starts with the digit "0":
// blanks before it are not part of the number, a sign is.
TEST(IntegerField, ZeroMustBeWrittenAsTheDigitZero) {
    const struct {
        const char* text;
        bool integer;
    } cases[] = {
        {"0", true}, {" 0", true}, {"\t00 ", true}, {"+0", false}, {"-0", false}, {"+00", false}, {"", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("text \"") + c.text + "\"");
        const std::optional<int> value = integer_field::Read(c.text);
        EXPECT_EQ(value.has_value(), c.integer);
        if (value) {
            EXPECT_EQ(*value, 0);
        }
    }
}

TEST(IntegerField, OnlyTheFirst31CharactersAreRead) {
    // 30 blanks, "5", then a letter as the 32nd character: cut off.
    EXPECT_EQ(integer_field::Read(std::string(30, ' ') + "5x"), 5);
    // The letter as the 31st character is read and refuses the text.
    EXPECT_EQ(integer_field::Read(std::string(29, ' ') + "5x"), std::nullopt);
    // Digits past the 31st are not part of the number.
    EXPECT_EQ(integer_field::Read(std::string(29, ' ') + "123"), 12);
}

TEST(IntegerField, RangeMessageFillsBothBounds) {
    EXPECT_EQ(integer_field::RangeMessage(1, 1000), kRange);
    EXPECT_EQ(integer_field::RangeMessage(-3, 7), "Please enter an integer between -3 and 7.");
}

}  // namespace
