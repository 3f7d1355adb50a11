#pragma once

#include <array>
#include <cstdint>
#include <string_view>

// The fixed table of font character sets: the stored FontCharset setting is
// an index into it, and the Font page lists its names in this order.
struct CharsetEntry {
    std::string_view name;
    std::uint8_t value;
};

inline constexpr std::array<CharsetEntry, 20> kCharsetTable = {{
    {"ANSI", 0},        {"Default", 1},      {"Symbol", 2},     {"SHIFTJIS", 128},
    {"HANGEUL", 129},   {"HANGUL", 129},     {"GB2312", 134},   {"CHINESEBIG5", 136},
    {"OEM", 255},       {"Johab", 130},      {"Hebrew", 177},   {"Arabic", 178},
    {"Greek", 161},     {"Turkish", 162},    {"Vietnamese", 163}, {"Thai", 222},
    {"EastEurope", 238}, {"Russian", 204},   {"MAC", 77},       {"Baltic", 186},
}};

inline constexpr int kDefaultCharsetIndex = 1;

// The charset value of a table index; an index outside the table (a profile
// edited by hand) gives the value of "Default".
constexpr std::uint8_t CharsetValue(int index) {
    return index >= 0 && index < static_cast<int>(kCharsetTable.size())
               ? kCharsetTable[static_cast<std::size_t>(index)].value
               : kCharsetTable[kDefaultCharsetIndex].value;
}
