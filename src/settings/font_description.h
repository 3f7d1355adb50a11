#pragma once

#include "settings/log_font.h"

#include <cstdint>
#include <string>
#include <string_view>

// The font description's face name and the description the Font page
// builds from what its boxes show.
namespace font_description {

// The face name held in the description (at most 31 bytes).
std::string FaceName(const LOGFONT& font);

// Stores name as the face name: a longer name keeps its first 31 bytes,
// cut before a UTF-8 character that would not fit whole.
void SetFaceName(LOGFONT& font, std::string_view name);

// A description with every field 0 but three: the face name, the height
// for the size text (read as ReadSizeText does) at pixelsPerInch, and the
// charset byte.
LOGFONT Build(std::string_view faceName, std::string_view sizeText, int pixelsPerInch, std::uint8_t charset);

}  // namespace font_description
