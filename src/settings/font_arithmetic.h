#pragma once

#include <string_view>

// Conversions between the point sizes the Font page shows and the pixel
// heights of the font description, and the twips of the panes' format.
// Heights follow the description's sign rule: negative is a character
// height, positive a cell height.
namespace font_arithmetic {

inline constexpr int kPointsPerInch = 72;
inline constexpr int kTwipsPerInch = 1440;

// number * numerator / denominator without overflow, rounded to the nearest
// integer with halves away from zero. A zero denominator gives -1, as the
// platform's MulDiv does; a result beyond the int range is clamped to
// +-INT_MAX, so it can always be negated.
int MulDiv(int number, int numerator, int denominator);

// The size box's text as an integer: leading white space, an optional sign,
// then digits up to the first other character; no digits give 0. Values
// beyond the int range are clamped.
int ReadSizeText(std::string_view text);

// The height that asks for a size in points: -MulDiv(points, ppi, 72).
int HeightForSize(int points, int pixelsPerInch);

// The size in points the page shows for a height: -MulDiv(height, 72, ppi).
int SizeForHeight(int height, int pixelsPerInch);

// The panes' format height: (-height * 1440) / ppi, rounded toward zero
// (0 for a pixels-per-inch of 0 or less).
int TwipsForHeight(int height, int pixelsPerInch);

}  // namespace font_arithmetic
