#include "app/window_title.h"

#include <gtest/gtest.h>

namespace {

struct TitleCase {
    const char* documentTitle;
    const char* connection;
    const char* expected;
};

// The title is built from its parts, so dashes in a file name and a change
// of connection never garble it.
const TitleCase kTitleCases[] = {
    {"untitled", "not connected", "untitled - Tarnwell - not connected"},
    {"my-script.sql", "not connected", "my-script.sql - Tarnwell - not connected"},
    {"a-b-c.sql", "not connected", "a-b-c.sql - Tarnwell - not connected"},
    {"a-b-c.sql", "scott@TestSQLite", "a-b-c.sql - Tarnwell - scott@TestSQLite"},
    {"- leading.sql", "@dsn-with-dash", "- leading.sql - Tarnwell - @dsn-with-dash"},
    {"report - Tarnwell - old@dsn.sql", "new@dsn", "report - Tarnwell - old@dsn.sql - Tarnwell - new@dsn"},
    {"", "not connected", " - Tarnwell - not connected"},
    {"\xc3\xa4pfel.sql", "\xc3\xbc@db", "\xc3\xa4pfel.sql - Tarnwell - \xc3\xbc@db"},
};

TEST(WindowTitleTest, JoinsDocumentTitleApplicationNameAndConnection) {
    for (const TitleCase& c : kTitleCases)
        EXPECT_EQ(WindowTitle(c.documentTitle, c.connection), c.expected) << c.documentTitle << " / " << c.connection;
}

}  // namespace
