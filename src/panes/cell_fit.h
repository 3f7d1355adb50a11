#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>

// Keeps the panes' text on a grid of cells: a character that counts two
// columns in the display width rule (common/display_text.h) is drawn exactly
// two cells wide, every other one exactly one, whatever font the toolkit
// falls back to for it. ASCII is drawn in the pane font, whose cell it
// defines. Any other character is measured once at the pane font's size;
// when it does not fill its cells exactly it gets a style whose font size
// makes it do so (found by measuring, since glyph widths are rounded to
// pixels and fallback fonts differ). Some glyphs cannot be sized to every
// width (the boxes drawn for characters no font has grow in steps); the
// pixels such a character lacks or exceeds are made up by the next space of
// its line, which takes any width, so the text after it is on the grid again
// (a table's columns are separated by spaces).
//
// Sizes are in hundredths of a point; widths in pixels. Style 0 is the pane
// font; the others are numbered from 1, leaving out the control's
// predefined styles 32 to 39, up to kLastStyle.
class CCellFit {
public:
    // The width of character drawn in the pane font's face at size.
    using Measure = std::function<int(int size, std::string_view character)>;

    static constexpr int kLastStyle = 254;

    CCellFit(int baseSize, int cellWidth, Measure measure);

    // Writes one style per byte of text into styles (text.size() bytes). A
    // zero-width character (a combining mark) takes the style of the one
    // before it, so it stays with its base; a byte that is not part of a
    // well-formed character gets 0.
    void Style(std::string_view text, unsigned char* styles);

    // The font size of each style handed out so far (style 0 excepted).
    const std::map<int, int>& StyleSizes() const { return m_sizeOfStyle; }

private:
    struct Fitted {
        int style;
        int width;
    };
    Fitted FitCharacter(std::string_view character, int cells);
    // A space as close to width pixels wide as it gets.
    Fitted FitSpace(int width);
    // The size at which character is target pixels wide; where no size
    // gives that width, the largest size at which it is narrower.
    int FitSize(std::string_view character, int target, int naturalWidth);
    int StyleOfSize(int size);

    int m_nBaseSize;
    int m_nCellWidth;
    Measure m_measure;
    std::unordered_map<std::string, Fitted> m_fitted;
    std::map<int, Fitted> m_fittedSpace;
    // Sizes already found, by {cells, width at the base size}: characters
    // from one font usually share them.
    std::map<std::pair<int, int>, int> m_sizeOfWidth;
    std::map<int, int> m_styleOfSize;
    std::map<int, int> m_sizeOfStyle;
    int m_nNextStyle = 1;
};
