#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// An ODBC connection string: "KEY=VALUE" attributes separated by ";". A
// value in braces may hold any character, a "}" in it written "}}"; the
// first attribute of a key counts (keys are compared ignoring case). The
// data source text of the Connect dialog and --connect is one when it holds
// "="; otherwise it is a data source name.
class CConnectionString {
public:
    struct Attribute {
        std::string key;            // without the spaces around it
        std::string value;          // braces and doubled "}" undone
        std::size_t begin = 0;      // where the attribute starts in the text
        std::size_t end = 0;        // past it and its ";"
    };

    static bool IsConnectionString(std::string_view text) { return text.find('=') != std::string_view::npos; }

    explicit CConnectionString(std::string text);

    // The value of the first attribute of key; nullopt when there is none.
    std::optional<std::string> Value(std::string_view key) const;
    // The text without any attribute of these keys.
    std::string Without(const std::vector<std::string_view>& keys) const;

    // "KEY=VALUE", the value in braces when it holds ";", "=", "{", "}" or a
    // space, with "}" doubled, so that it can never end early.
    static std::string QuotedAttribute(std::string_view key, std::string_view value);

    // What goes to SQLDriverConnect: the text, with the user name and the
    // password (when given) as the UID and PWD attributes replacing those of
    // the text.
    static std::string WithCredentials(const std::string& text, const std::string& userName,
                                       const std::string& password);

    // What the window's title shows for a connection: "user@" and the data
    // source name; for a connection string its DSN value, else its DRIVER
    // value, else "connection string" (and its UID when no user name is given).
    static std::string ConnectionText(const std::string& userName, const std::string& dataSource);

    // The data source text as it may be kept and shown (history, messages):
    // a connection string loses its password attributes.
    static std::string Shareable(const std::string& dataSource);

private:
    std::string m_text;
    std::vector<Attribute> m_attributes;
};
