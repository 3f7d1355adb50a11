#include "exec/error_position.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace {

// The text between the quotes after marker in message, if any.
std::optional<std::string_view> QuotedAfter(std::string_view message, std::string_view marker) {
    const std::size_t at = message.find(marker);
    if (at == std::string_view::npos) return std::nullopt;
    const std::size_t open = at + marker.size();
    const std::size_t close = message.find('"', open);
    if (close == std::string_view::npos || close == open) return std::nullopt;
    return message.substr(open, close - open);
}

// The name after marker in message, up to a blank or a parenthesis.
std::optional<std::string_view> NameAfter(std::string_view message, std::string_view marker) {
    const std::size_t at = message.find(marker);
    if (at == std::string_view::npos) return std::nullopt;
    const std::size_t start = at + marker.size();
    const std::size_t end = message.find_first_of(" \t\r\n()", start);
    const std::string_view name = message.substr(start, end == std::string_view::npos ? end : end - start);
    if (name.empty()) return std::nullopt;
    return name;
}

// The number after marker in message, if any.
std::optional<std::size_t> NumberAfter(std::string_view message, std::string_view marker) {
    const std::size_t at = message.find(marker);
    if (at == std::string_view::npos) return std::nullopt;
    std::size_t value = 0, i = at + marker.size();
    const std::size_t digits = i;
    while (i < message.size() && std::isdigit(static_cast<unsigned char>(message[i])) && value < 1'000'000'000)
        value = value * 10 + static_cast<std::size_t>(message[i++] - '0');
    if (i == digits) return std::nullopt;
    return value;
}

bool StartsAt(std::string_view text, std::size_t at, std::string_view what) {
    return !what.empty() && text.substr(at, what.size()) == what;
}

// The first occurrence of token in statement that is not inside a quoted
// string or a comment.
std::optional<std::size_t> FindOutsideStringsAndComments(std::string_view statement, std::string_view token,
                                                         const CommentSyntax& syntax) {
    for (std::size_t i = 0; i < statement.size();) {
        if (statement[i] == '\'') {
            const std::size_t close = statement.find('\'', i + 1);
            if (close == std::string_view::npos) return std::nullopt;
            i = close + 1;
        } else if (StartsAt(statement, i, syntax.singleLine)) {
            i = statement.find_first_of("\r\n", i);
            if (i == std::string_view::npos) return std::nullopt;
        } else if (StartsAt(statement, i, syntax.multiStart)) {
            const std::size_t close = syntax.multiEnd.empty()
                                          ? std::string_view::npos
                                          : statement.find(syntax.multiEnd, i + syntax.multiStart.size());
            if (close == std::string_view::npos) return std::nullopt;
            i = close + syntax.multiEnd.size();
        } else if (StartsAt(statement, i, token)) {
            return i;
        } else {
            ++i;
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<ErrorPosition> LocateError(std::string_view message, std::string_view statement,
                                         const CommentSyntax& syntax) {
    std::optional<std::string_view> token = QuotedAfter(message, "at or near \"");
    if (!token) token = QuotedAfter(message, "near \"");
    if (!token) token = QuotedAfter(message, "relation \"");
    if (!token) token = QuotedAfter(message, "column \"");
    if (!token) token = NameAfter(message, "no such table: ");
    if (!token) token = NameAfter(message, "no such column: ");
    if (token) {
        const auto at = FindOutsideStringsAndComments(statement, *token, syntax);
        if (!at) return std::nullopt;
        return ErrorPosition{*at, token->size()};
    }
    std::optional<std::size_t> character = NumberAfter(message, "at character ");
    if (!character) character = NumberAfter(message, "Position: ");
    if (!character || *character == 0 || *character > statement.size()) return std::nullopt;
    // Characters are counted in UTF-8 characters from 1.
    std::size_t at = 0;
    for (std::size_t counted = 1; at < statement.size() && counted < *character; ++counted) {
        ++at;
        while (at < statement.size() && (static_cast<unsigned char>(statement[at]) & 0xC0) == 0x80) ++at;
    }
    std::size_t end = at;
    while (end < statement.size() && (std::isalnum(static_cast<unsigned char>(statement[end])) || statement[end] == '_'))
        ++end;
    return ErrorPosition{at, std::max<std::size_t>(end - at, 1)};
}
