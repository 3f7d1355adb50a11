#pragma once

#include <string_view>

// The application's name: the middle part of the window title, the caption
// of message boxes and the name of the profile folder.
inline constexpr std::string_view kAppName = "Tarnwell";
