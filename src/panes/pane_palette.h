#pragma once

#include <cstdint>

// The colours of the panes: text, background, selection, caret and the
// margin beside the script. One palette for light desktops and one for dark
// ones, each with text readable on its backgrounds (a contrast ratio of at
// least 4.5:1 as WCAG 2 computes it).
struct Rgb {
    std::uint8_t red, green, blue;
};

struct PanePalette {
    Rgb text;
    Rgb background;
    Rgb selectionText;
    Rgb selectionBackground;
    Rgb caret;
    Rgb margin;

    // The palette for a desktop whose theme is dark or light.
    static PanePalette For(bool dark);
};

// WCAG 2's contrast ratio of two colours: (L1 + 0.05) / (L2 + 0.05), L1 the
// larger relative luminance; from 1 (the same) to 21 (black on white).
double ContrastRatio(Rgb a, Rgb b);
