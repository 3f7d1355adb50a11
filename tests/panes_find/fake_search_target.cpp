#include "fake_search_target.h"

#include <algorithm>
#include <cctype>

namespace {

bool IsWordByte(unsigned char c) { return std::isalnum(c) || c == '_' || c >= 0x80; }
bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

bool SameByte(char a, char b, bool matchCase) {
    if (matchCase) return a == b;
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
}

}  // namespace

void FakeSearchTarget::SetSelection(long start, long end) {
    const long length = static_cast<long>(text.size());
    selStart = std::clamp(start, 0L, length);
    selEnd = end < 0 ? length : std::clamp(end, selStart, length);
}

std::optional<CSearchTarget::Match> FakeSearchTarget::Find(std::string_view pattern, std::uint32_t flags, long start,
                                                           long end) {
    const long length = static_cast<long>(text.size());
    const long last = end < 0 ? length : std::min(end, length);
    const long size = static_cast<long>(pattern.size());
    if (size == 0) return std::nullopt;
    for (long at = std::max(start, 0L); at + size <= last; ++at) {
        if (IsContinuation(static_cast<unsigned char>(text[at]))) continue;
        const bool same = std::equal(pattern.begin(), pattern.end(), text.begin() + at,
                                     [&](char a, char b) { return SameByte(a, b, (flags & kMatchCase) != 0); });
        if (!same) continue;
        if (flags & kWholeWord) {
            const bool wordBefore = at > 0 && IsWordByte(static_cast<unsigned char>(text[at - 1]));
            const bool wordAfter = at + size < length && IsWordByte(static_cast<unsigned char>(text[at + size]));
            if (wordBefore || wordAfter) continue;
        }
        return Match{at, at + size};
    }
    return std::nullopt;
}

void FakeSearchTarget::ReplaceSelection(std::string_view replacement) {
    text.replace(static_cast<std::size_t>(selStart), static_cast<std::size_t>(selEnd - selStart), replacement);
    selStart = selEnd = selStart + static_cast<long>(replacement.size());
}
