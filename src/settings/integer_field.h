#pragma once

#include <optional>
#include <string>
#include <string_view>

// How the preferences read a number typed into an edit (the column widths).
//
// Only the first 31 characters of the text count. Blanks and tabs may stand
// before and after the number; the number is an optional sign followed by
// decimal digits, and nothing else may follow it. A number that reads as 0
// must start with the digit "0" (after the leading blanks): " 0" and "00"
// are the number 0, while "+0", "-0", a lone sign and a text without digits
// are not integers at all. A number too large for an int reads as the
// nearest int, so it fails any range check instead of wrapping around.
namespace integer_field {

inline constexpr std::size_t kReadChars = 31;
inline constexpr const char* kNotAnInteger = "Please enter an integer.";
inline constexpr const char* kRangeTemplate = "Please enter an integer between %1 and %2.";

// The number the text holds, or none when it is not an integer.
std::optional<int> Read(std::string_view text);

// kRangeTemplate with %1 = min and %2 = max.
std::string RangeMessage(int min, int max);

// An integer that must lie in min..max: the value, or the message that
// refuses the text (not an integer first, then out of range).
struct Reading {
    int value = 0;
    std::string message;  // empty when accepted
    bool Accepted() const { return message.empty(); }
};
Reading ReadInRange(std::string_view text, int min, int max);

}  // namespace integer_field
