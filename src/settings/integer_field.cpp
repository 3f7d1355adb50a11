#include "settings/integer_field.h"

#include "common/display_text.h"

#include <climits>

namespace integer_field {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::optional<int> Read(std::string_view text) {
    text = text.substr(0, display_text::PrefixForChars(text, kReadChars));
    std::size_t pos = 0;
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
    const std::size_t numberStart = pos;

    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
    long long magnitude = 0;
    const std::size_t digitsStart = pos;
    for (; pos < text.size() && IsDigit(text[pos]); ++pos) {
        // Saturate well beyond the int range; the result is clamped below.
        if (magnitude <= LLONG_MAX / 20) magnitude = magnitude * 10 + (text[pos] - '0');
    }
    const bool hasDigits = pos > digitsStart;
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
    if (pos != text.size()) return std::nullopt;

    // A 0 reading counts only when the number itself starts with the digit
    // "0": this refuses a text without digits and a signed zero.
    if (!hasDigits || (magnitude == 0 && text[numberStart] != '0')) return std::nullopt;

    const long long value = negative ? -magnitude : magnitude;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

std::string RangeMessage(int min, int max) {
    std::string message = kRangeTemplate;
    message.replace(message.find("%1"), 2, std::to_string(min));
    message.replace(message.find("%2"), 2, std::to_string(max));
    return message;
}

Reading ReadInRange(std::string_view text, int min, int max) {
    const std::optional<int> value = Read(text);
    if (!value) return Reading{0, kNotAnInteger};
    if (*value < min || *value > max) return Reading{*value, RangeMessage(min, max)};
    return Reading{*value, {}};
}

}  // namespace integer_field
