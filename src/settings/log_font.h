#pragma once

#include <cstdint>

// The pane font's description, field for field the platform logical-font
// record that the settings and the Font page work on. All zero means "not
// set"; loading the settings fills height, charset and face name only.
struct LOGFONT {
    std::int32_t lfHeight = 0;       // pixels; negative: character height, positive: cell height
    std::int32_t lfWidth = 0;
    std::int32_t lfEscapement = 0;
    std::int32_t lfOrientation = 0;
    std::int32_t lfWeight = 0;       // 0: the font layer's default weight
    std::uint8_t lfItalic = 0;
    std::uint8_t lfUnderline = 0;
    std::uint8_t lfStrikeOut = 0;
    std::uint8_t lfCharSet = 0;
    std::uint8_t lfOutPrecision = 0;
    std::uint8_t lfClipPrecision = 0;
    std::uint8_t lfQuality = 0;
    std::uint8_t lfPitchAndFamily = 0;
    char lfFaceName[32] = {};        // at most 31 bytes and a NUL

    friend bool operator==(const LOGFONT&, const LOGFONT&) = default;
};
