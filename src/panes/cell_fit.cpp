#include "panes/cell_fit.h"

#include "common/display_text.h"

#include <algorithm>

namespace {

// The control's predefined styles (default, line numbers, braces, control
// characters, indent guides, call tips, fold text).
constexpr int kFirstPredefined = 32;
constexpr int kLastPredefined = 39;

}  // namespace

CCellFit::CCellFit(int baseSize, int cellWidth, Measure measure)
    : m_nBaseSize(baseSize), m_nCellWidth(cellWidth), m_measure(std::move(measure)) {}

void CCellFit::Style(std::string_view text, unsigned char* styles) {
    unsigned char previous = 0;
    // Pixels the characters since the last space drew too narrow (or, when
    // negative, too wide).
    int owed = 0;
    for (std::size_t at = 0; at < text.size();) {
        const char byte = text[at];
        if (static_cast<unsigned char>(byte) < 0x80) {
            previous = 0;
            if (byte == ' ' && owed != 0) {
                const Fitted space = FitSpace(m_nCellWidth + owed);
                previous = static_cast<unsigned char>(space.style);
                owed += m_nCellWidth - space.width;
            } else if (byte == '\n' || byte == '\r') {
                owed = 0;
            }
            styles[at++] = previous;
            continue;
        }
        const std::size_t length = std::max<std::size_t>(display_text::SequenceLength(text.substr(at)), 1);
        const std::string_view character = text.substr(at, length);
        unsigned char style = 0;
        if (length > 1) {
            const int cells = display_text::Width(character);
            if (cells == 0) {
                style = previous;
            } else {
                const Fitted fitted = FitCharacter(character, cells);
                style = static_cast<unsigned char>(fitted.style);
                owed += cells * m_nCellWidth - fitted.width;
            }
        }
        std::fill_n(styles + at, length, style);
        previous = style;
        at += length;
    }
}

CCellFit::Fitted CCellFit::FitCharacter(std::string_view character, int cells) {
    const auto known = m_fitted.find(std::string(character));
    if (known != m_fitted.end()) return known->second;
    const int target = cells * m_nCellWidth;
    Fitted fitted{0, m_measure(m_nBaseSize, character)};
    if (fitted.width != target && fitted.width > 0 && m_nCellWidth > 0) {
        const auto key = std::make_pair(cells, fitted.width);
        auto size = m_sizeOfWidth.find(key);
        // A size found for another character of the same width is checked
        // before it is used for this one.
        int width = size != m_sizeOfWidth.end() ? m_measure(size->second, character) : 0;
        if (width != target) {
            size = m_sizeOfWidth.insert_or_assign(key, FitSize(character, target, fitted.width)).first;
            width = m_measure(size->second, character);
        }
        fitted = {StyleOfSize(size->second), width};
    }
    m_fitted.emplace(character, fitted);
    return fitted;
}

CCellFit::Fitted CCellFit::FitSpace(int width) {
    const auto known = m_fittedSpace.find(width);
    if (known != m_fittedSpace.end()) return known->second;
    Fitted fitted{0, m_measure(m_nBaseSize, " ")};
    if (width > 0 && fitted.width > 0 && width != fitted.width) {
        const int size = FitSize(" ", width, fitted.width);
        fitted = {StyleOfSize(size), m_measure(size, " ")};
    }
    m_fittedSpace.emplace(width, fitted);
    return fitted;
}

int CCellFit::FitSize(std::string_view character, int target, int naturalWidth) {
    // Widths grow with the size, nearly in proportion: search between a
    // size surely too small and one surely large enough for the smallest
    // size that reaches the target.
    const long guess = static_cast<long>(m_nBaseSize) * target / naturalWidth;
    int low = static_cast<int>(std::max(1L, guess / 2));
    int high = static_cast<int>(std::max(guess * 2, 2L));
    while (m_measure(low, character) >= target && low > 1) low /= 2;
    while (m_measure(high, character) < target && high < m_nBaseSize * 64) high *= 2;
    // m(low) < target <= m(high), as far as they could be found.
    while (high - low > 1) {
        const int middle = low + (high - low) / 2;
        (m_measure(middle, character) < target ? low : high) = middle;
    }
    return m_measure(high, character) == target ? high : low;
}

int CCellFit::StyleOfSize(int size) {
    if (size == m_nBaseSize) return 0;
    const auto known = m_styleOfSize.find(size);
    if (known != m_styleOfSize.end()) return known->second;
    if (m_nNextStyle > kLastStyle) return 0;
    const int style = m_nNextStyle;
    m_nNextStyle = m_nNextStyle + 1 == kFirstPredefined ? kLastPredefined + 1 : m_nNextStyle + 1;
    m_styleOfSize.emplace(size, style);
    m_sizeOfStyle.emplace(style, size);
    return style;
}
