#pragma once

#include <string>
#include <utility>

// A text whose caret is marked by "|": the text without the mark, and the
// caret's offset in it.
inline std::pair<std::string, std::size_t> AtCaret(std::string text) {
    const std::size_t caret = text.find('|');
    text.erase(caret, 1);
    return {text, caret};
}
