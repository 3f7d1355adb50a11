#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Menu entries of the recent-file list show a path of at most this many
// characters.
inline constexpr std::size_t kRecentFileLabelChars = 30;

// A path shortened for a menu: the whole path when it has at most maxChars
// characters; otherwise the root, "...", and as many of the last folders as
// fit before the file name ("/.../sql/reports/monthly.sql"); the file name
// alone when not even "/.../" and the name fit. Characters are UTF-8
// characters (a stray byte counts one).
std::string AbbreviatePath(std::string_view path, std::size_t maxChars = kRecentFileLabelChars);

// The menu text of entry index (0 for the newest): "&1 " and the shortened
// path, with every "&" doubled so it shows as itself.
std::string RecentFileLabel(std::size_t index, std::string_view path);
