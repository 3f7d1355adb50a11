#include "app/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(CommandLineTest, ParsesOptionsAndAtMostOneScript) {
    const struct {
        std::vector<std::string> args;
        std::string dataSource;
        std::string userName;
        std::string scriptFile;
        bool help;
        std::string error;
    } cases[] = {
        {{}, "", "", "", false, ""},
        {{"--dsn", "my dsn", "--user", "scott", "/tmp/with space.sql"}, "my dsn", "scott", "/tmp/with space.sql",
         false, ""},
        {{"a.sql", "--dsn=Demo", "--user="}, "Demo", "", "a.sql", false, ""},
        {{"--", "--dsn"}, "", "", "--dsn", false, ""},
        {{"-"}, "", "", "-", false, ""},
        {{"-h"}, "", "", "", true, ""},
        {{"a.sql", "b.sql"}, "", "", "", false, "Only one script file can be opened at a time."},
        {{"--user"}, "", "", "", false, "The option --user needs a value."},
        {{"--colour"}, "", "", "", false, "Unknown option --colour."},
        {{"--password", "x"}, "", "", "", false, "Unknown option --password."},
        {{""}, "", "", "", false, "The script file name is empty."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        const CommandLine line = ParseCommandLine(c.args);
        EXPECT_EQ(line.error, c.error);
        EXPECT_EQ(line.help, c.help);
        if (!c.error.empty()) continue;
        EXPECT_EQ(line.dataSource, c.dataSource);
        EXPECT_EQ(line.userName, c.userName);
        EXPECT_EQ(line.scriptFile, c.scriptFile);
    }
}

}  // namespace
