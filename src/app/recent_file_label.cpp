#include "app/recent_file_label.h"

namespace {

std::size_t CountChars(std::string_view text) {
    std::size_t count = 0;
    for (const char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
    return count;
}

}  // namespace

std::string AbbreviatePath(std::string_view path, std::size_t maxChars) {
    if (CountChars(path) <= maxChars) return std::string(path);

    const std::size_t lastSlash = path.rfind('/');
    if (lastSlash == std::string_view::npos) return std::string(path);
    const std::string_view name = path.substr(lastSlash + 1);
    const std::string_view root = path.substr(0, path[0] == '/' ? 1 : 0);
    const std::string prefix = std::string(root) + "...";

    // Take whole trailing folders, nearest first, while the result fits.
    std::size_t keepFrom = lastSlash;   // path[keepFrom] is the '/' that starts the kept tail
    for (std::size_t slash = lastSlash; slash > root.size();) {
        const std::size_t previous = path.rfind('/', slash - 1);
        if (previous == std::string_view::npos || previous < root.size()) break;
        if (CountChars(prefix) + CountChars(path.substr(previous)) > maxChars) break;
        keepFrom = previous;
        slash = previous;
    }
    const std::string shortened = prefix + std::string(path.substr(keepFrom));
    if (CountChars(shortened) <= maxChars) return shortened;
    return std::string(name);
}

std::string RecentFileLabel(std::size_t index, std::string_view path) {
    std::string label = "&" + std::to_string(index + 1) + " ";
    for (const char c : AbbreviatePath(path)) {
        if (c == '&') label += '&';
        label += c;
    }
    return label;
}
