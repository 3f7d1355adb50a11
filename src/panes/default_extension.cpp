#include "panes/default_extension.h"

namespace default_extension {

bool HasExtension(std::string_view path) {
    const std::string_view::size_type slash = path.rfind('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const std::string_view::size_type dot = name.rfind('.');
    return dot != std::string_view::npos && dot > 0;
}

std::string Add(std::string_view path, std::string_view extension) {
    std::string result(path);
    if (!path.empty() && path.back() != '/' && !HasExtension(path)) {
        result += '.';
        result += extension;
    }
    return result;
}

}  // namespace default_extension
