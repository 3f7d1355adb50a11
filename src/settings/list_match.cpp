#include "settings/list_match.h"

#include <algorithm>

namespace list_match {
namespace {

char Fold(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
bool SameNoCase(char a, char b) { return Fold(a) == Fold(b); }

}  // namespace

bool EqualNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), SameNoCase);
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualNoCase(text.substr(0, prefix.size()), prefix);
}

bool LessNoCase(std::string_view a, std::string_view b) {
    const auto byFold = [](char x, char y) {
        return static_cast<unsigned char>(Fold(x)) < static_cast<unsigned char>(Fold(y));
    };
    if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), byFold)) return true;
    if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), byFold)) return false;
    return a < b;
}

std::optional<std::size_t> FindFirstPrefix(const std::vector<std::string>& entries, std::string_view text) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (StartsWithNoCase(entries[i], text)) return i;
    }
    return std::nullopt;
}

}  // namespace list_match
