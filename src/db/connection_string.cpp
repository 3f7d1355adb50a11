#include "db/connection_string.h"

#include <algorithm>
#include <cctype>

namespace {

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
    return text;
}

bool SameKey(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

// Password attributes: PWD, and the spelling some drivers take as well.
const std::vector<std::string_view> kPasswordKeys = {"PWD", "PASSWORD"};

}  // namespace

CConnectionString::CConnectionString(std::string text) : m_text(std::move(text)) {
    const std::string_view all = m_text;
    std::size_t at = 0;
    while (at < all.size()) {
        Attribute attribute;
        attribute.begin = at;
        const std::size_t equals = all.find('=', at);
        const std::size_t semicolon = all.find(';', at);
        if (equals == std::string_view::npos || semicolon < equals) {
            // No "=" before the next ";": not an attribute; skipped.
            at = semicolon == std::string_view::npos ? all.size() : semicolon + 1;
            continue;
        }
        attribute.key = Trimmed(all.substr(at, equals - at));
        std::size_t value = equals + 1;
        while (value < all.size() && all[value] == ' ') ++value;
        if (value < all.size() && all[value] == '{') {
            // Up to the "}" that is not doubled; anything after it up to ";" is dropped.
            std::size_t i = value + 1;
            for (; i < all.size(); ++i) {
                if (all[i] != '}') {
                    attribute.value += all[i];
                } else if (i + 1 < all.size() && all[i + 1] == '}') {
                    attribute.value += '}';
                    ++i;
                } else {
                    break;
                }
            }
            at = std::min(all.find(';', i), all.size());
        } else {
            at = std::min(all.find(';', value), all.size());
            attribute.value = Trimmed(all.substr(value, at - value));
        }
        if (at < all.size()) ++at;
        attribute.end = at;
        if (!attribute.key.empty()) m_attributes.push_back(std::move(attribute));
    }
}

std::optional<std::string> CConnectionString::Value(std::string_view key) const {
    for (const Attribute& attribute : m_attributes)
        if (SameKey(attribute.key, key)) return attribute.value;
    return std::nullopt;
}

std::string CConnectionString::Without(const std::vector<std::string_view>& keys) const {
    std::string text;
    std::size_t kept = 0;
    for (const Attribute& attribute : m_attributes) {
        if (std::none_of(keys.begin(), keys.end(), [&](std::string_view key) { return SameKey(attribute.key, key); }))
            continue;
        text.append(m_text, kept, attribute.begin - kept);
        kept = attribute.end;
    }
    return text.append(m_text, kept);
}

std::string CConnectionString::QuotedAttribute(std::string_view key, std::string_view value) {
    std::string text(key);
    text += '=';
    if (value.find_first_of(";={} ") == std::string_view::npos) return text.append(value);
    text += '{';
    for (const char c : value) {
        text += c;
        if (c == '}') text += '}';
    }
    return text += '}';
}

std::string CConnectionString::WithCredentials(const std::string& text, const std::string& userName,
                                               const std::string& password) {
    std::vector<std::string_view> replaced;
    if (!userName.empty()) replaced.push_back("UID");
    if (!password.empty()) replaced.insert(replaced.end(), kPasswordKeys.begin(), kPasswordKeys.end());
    std::string result = CConnectionString(text).Without(replaced);
    const auto append = [&result](std::string_view key, const std::string& value) {
        if (value.empty()) return;
        if (!result.empty() && result.back() != ';') result += ';';
        result += QuotedAttribute(key, value);
    };
    append("UID", userName);
    append("PWD", password);
    return result;
}

std::string CConnectionString::ConnectionText(const std::string& userName, const std::string& dataSource) {
    if (!IsConnectionString(dataSource)) return userName + "@" + dataSource;
    const CConnectionString parsed(dataSource);
    std::optional<std::string> name = parsed.Value("DSN");
    if (!name || name->empty()) name = parsed.Value("DRIVER");
    const std::string user = userName.empty() ? parsed.Value("UID").value_or("") : userName;
    return user + "@" + (name && !name->empty() ? *name : "connection string");
}

std::string CConnectionString::Shareable(const std::string& dataSource) {
    return IsConnectionString(dataSource) ? CConnectionString(dataSource).Without(kPasswordKeys) : dataSource;
}
