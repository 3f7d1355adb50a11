#include "settings/font_arithmetic.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace font_arithmetic {
namespace {

int Clamp(std::int64_t value) { return static_cast<int>(std::clamp<std::int64_t>(value, -INT_MAX, INT_MAX)); }

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

}  // namespace

int MulDiv(int number, int numerator, int denominator) {
    if (denominator == 0) return -1;
    // |number * numerator| < 2^62 fits; the rounding works on magnitudes.
    const std::int64_t product = static_cast<std::int64_t>(number) * numerator;
    const bool negative = (product < 0) != (denominator < 0);
    const std::uint64_t magnitude = product < 0 ? 0 - static_cast<std::uint64_t>(product)
                                                : static_cast<std::uint64_t>(product);
    const std::uint64_t divisor = denominator < 0 ? 0 - static_cast<std::uint64_t>(static_cast<std::int64_t>(denominator))
                                                  : static_cast<std::uint64_t>(denominator);
    const std::uint64_t rounded = (magnitude + divisor / 2) / divisor;
    const std::int64_t result = static_cast<std::int64_t>(rounded);
    return Clamp(negative ? -result : result);
}

int ReadSizeText(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && IsSpace(text[pos])) ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
    std::int64_t value = 0;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
        value = std::min<std::int64_t>(value * 10 + (text[pos] - '0'), INT_MAX);
    }
    return static_cast<int>(negative ? -value : value);
}

int HeightForSize(int points, int pixelsPerInch) { return -MulDiv(points, pixelsPerInch, kPointsPerInch); }

int SizeForHeight(int height, int pixelsPerInch) { return -MulDiv(height, kPointsPerInch, pixelsPerInch); }

int TwipsForHeight(int height, int pixelsPerInch) {
    if (pixelsPerInch <= 0) return 0;
    return Clamp(-static_cast<std::int64_t>(height) * kTwipsPerInch / pixelsPerInch);
}

}  // namespace font_arithmetic
