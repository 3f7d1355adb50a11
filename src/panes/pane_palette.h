#pragma once

#include <cstdint>

// The colours of the panes: text, background, selection, caret, the
// margin beside the script and the colours of SQL and of the transcript's
// lines. One palette for light desktops and one for dark
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
    // The script's SQL.
    Rgb keyword;
    Rgb string;
    Rgb quotedName;
    Rgb number;
    Rgb comment;
    Rgb operatorSign;
    // The background of a parenthesis and its match.
    Rgb braceBackground;
    // The transcript's echo, error and warning lines.
    Rgb echo;
    Rgb error;
    Rgb warning;

    // The palette for a desktop whose theme is dark or light.
    static PanePalette For(bool dark);
};

// WCAG 2's contrast ratio of two colours: (L1 + 0.05) / (L2 + 0.05), L1 the
// larger relative luminance; from 1 (the same) to 21 (black on white).
double ContrastRatio(Rgb a, Rgb b);
