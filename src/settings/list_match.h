#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Text comparisons of the Font page's lists. Case is ignored for ASCII
// letters; other bytes (UTF-8 included) must match exactly.
namespace list_match {

bool EqualNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);

// Orders case-insensitively; texts equal but for case by their bytes.
bool LessNoCase(std::string_view a, std::string_view b);

// The first entry, in list order, that begins with text; none when no entry
// does. This is how a box shows a loaded value: the size "2" selects "20".
std::optional<std::size_t> FindFirstPrefix(const std::vector<std::string>& entries, std::string_view text);

}  // namespace list_match
