// Connection strings: the credentials added so that no user name or password
// can add or change an attribute, and what the title and history show.
#include "db/connection_string.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

// The attributes as a driver manager reads them, written apart from the
// code under test: ";" separates, the first "=" ends the key, a value that
// starts with "{" runs to the "}" that is not doubled. Keys upper-cased;
// the first of a key counts. A second attribute of a key is an error here.
std::map<std::string, std::string> ReferenceParse(const std::string& text) {
    std::map<std::string, std::string> attributes;
    std::size_t i = 0;
    while (i < text.size()) {
        std::string key;
        while (i < text.size() && text[i] != '=') key += static_cast<char>(std::toupper(static_cast<unsigned char>(text[i++])));
        ++i;  // "="
        std::string value;
        if (i < text.size() && text[i] == '{') {
            for (++i; i < text.size(); ++i) {
                if (text[i] == '}' && (i + 1 == text.size() || text[i + 1] != '}')) break;
                value += text[i];
                if (text[i] == '}') ++i;
            }
            ++i;  // "}"
        } else {
            while (i < text.size() && text[i] != ';') value += text[i++];
        }
        EXPECT_TRUE(i >= text.size() || text[i] == ';') << "junk after a value in " << text;
        ++i;  // ";"
        EXPECT_TRUE(attributes.emplace(key, value).second) << key << " twice in " << text;
    }
    return attributes;
}

TEST(ConnectionStringTest, HostileCredentialsComeBackAsExactlyTheirOwnAttribute) {
    const std::string base = "DSN=Sales;Database=/srv/sales.db";
    const std::string hostile[] = {
        "plain", "x;Database=/tmp/evil.db", "a=b", "{", "}", "}}", "{x}", "x};DSN=Evil;{", "pass word",
        " lead", "trail ", ";;", "=", "}};Database={/tmp/evil.db}", "ünï©ødé", "{};UID=root",
    };
    for (const std::string& value : hostile) {
        SCOPED_TRACE(value);
        for (const auto& [user, password] : {std::pair{value, std::string("secret")}, std::pair{std::string("ann"), value}}) {
            const std::map<std::string, std::string> expected = {
                {"DSN", "Sales"}, {"DATABASE", "/srv/sales.db"}, {"UID", user}, {"PWD", password}};
            EXPECT_EQ(ReferenceParse(CConnectionString::WithCredentials(base, user, password)), expected);
        }
    }
    // The dialog's values replace those of the text (the first would count);
    // none given leaves the text as it is.
    const std::string typed = "uid=old;DSN=Sales;Pwd={o;ld};PASSWORD=older";
    EXPECT_EQ(ReferenceParse(CConnectionString::WithCredentials(typed, "new", "n;ew")),
              (std::map<std::string, std::string>{{"DSN", "Sales"}, {"UID", "new"}, {"PWD", "n;ew"}}));
    EXPECT_EQ(CConnectionString::WithCredentials(typed, "", ""), typed);
}

// The title names user and data source; neither the title nor what is kept
// of the data source (history, messages) holds a password.
TEST(ConnectionStringTest, TitleAndKeptTextNeverHoldThePassword) {
    const struct { std::string user, dataSource, title, kept; } cases[] = {
        {"ann", "Sales", "ann@Sales", "Sales"},
        {"", "Sales", "@Sales", "Sales"},
        {"ann", "DSN=Sales;PWD=secret", "ann@Sales", "DSN=Sales;"},
        {"", "DRIVER={PostgreSQL ANSI};Server=db;UID=bob;pwd={se;cret}}}", "bob@PostgreSQL ANSI",
         "DRIVER={PostgreSQL ANSI};Server=db;UID=bob;"},
        {"ann", " Password = secret ; DSN = Sales ;", "ann@Sales", " DSN = Sales ;"},
        {"ann", "Database=/tmp/a.db;PWD=secret", "ann@connection string", "Database=/tmp/a.db;"},
        {"ann", "DSN=;DRIVER=SQLite3", "ann@SQLite3", "DSN=;DRIVER=SQLite3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dataSource);
        EXPECT_EQ(CConnectionString::ConnectionText(c.user, c.dataSource), c.title);
        EXPECT_EQ(CConnectionString::Shareable(c.dataSource), c.kept);
    }
}

}  // namespace
