#include "settings/font_description.h"

#include "common/display_text.h"
#include "settings/font_arithmetic.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace font_description {

std::string FaceName(const LOGFONT& font) {
    return std::string(font.lfFaceName, strnlen(font.lfFaceName, sizeof font.lfFaceName));
}

void SetFaceName(LOGFONT& font, std::string_view name) {
    // Bytes after a NUL could not be stored anyway.
    name = name.substr(0, std::min(name.find('\0'), name.size()));
    const std::size_t length = display_text::PrefixForBytes(name, sizeof font.lfFaceName - 1);
    std::fill(std::begin(font.lfFaceName), std::end(font.lfFaceName), '\0');
    std::memcpy(font.lfFaceName, name.data(), length);
}

LOGFONT Build(std::string_view faceName, std::string_view sizeText, int pixelsPerInch, std::uint8_t charset) {
    LOGFONT font;
    SetFaceName(font, faceName);
    font.lfHeight = font_arithmetic::HeightForSize(font_arithmetic::ReadSizeText(sizeText), pixelsPerInch);
    font.lfCharSet = charset;
    return font;
}

}  // namespace font_description
