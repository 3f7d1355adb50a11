#include "panes/pane_palette.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr PanePalette kLight{
    {0x1A, 0x1A, 0x1A}, {0xFF, 0xFF, 0xFF}, {0x1A, 0x1A, 0x1A}, {0xB5, 0xD5, 0xFF}, {0x00, 0x00, 0x00}, {0xF0, 0xF0, 0xF0},
};
constexpr PanePalette kDark{
    {0xDC, 0xDC, 0xDC}, {0x1E, 0x1E, 0x1E}, {0xFF, 0xFF, 0xFF}, {0x26, 0x4F, 0x78}, {0xF0, 0xF0, 0xF0}, {0x2A, 0x2A, 0x2A},
};

// A channel of sRGB as linear light.
double Linear(std::uint8_t channel) {
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Luminance(Rgb colour) {
    return 0.2126 * Linear(colour.red) + 0.7152 * Linear(colour.green) + 0.0722 * Linear(colour.blue);
}

}  // namespace

PanePalette PanePalette::For(bool dark) { return dark ? kDark : kLight; }

double ContrastRatio(Rgb a, Rgb b) {
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}
