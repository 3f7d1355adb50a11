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
        bool version;
        std::string error;
    } cases[] = {
        {{}, "", "", "", false, false, ""},
        {{"--dsn", "my dsn", "--user", "scott", "/tmp/with space.sql"}, "my dsn", "scott", "/tmp/with space.sql",
         false, false, ""},
        {{"a.sql", "--dsn=Demo", "--user="}, "Demo", "", "a.sql", false, false, ""},
        {{"--", "--dsn"}, "", "", "--dsn", false, false, ""},
        {{"--", "--version"}, "", "", "--version", false, false, ""},
        {{"-"}, "", "", "-", false, false, ""},
        {{"-h"}, "", "", "", true, false, ""},
        {{"a.sql", "--version"}, "", "", "a.sql", false, true, ""},
        {{"--dsn", "--version"}, "--version", "", "", false, false, ""},
        {{"--connect", "DSN=Demo;UID=ann", "--user=bob"}, "DSN=Demo;UID=ann", "bob", "", false, false, ""},
        {{"--connect=Demo"}, "", "", "", false, false,
         "The option --connect needs a connection string (KEY=VALUE;...)."},
        {{"a.sql", "b.sql"}, "", "", "", false, false, "Only one script file can be opened at a time."},
        {{"--user"}, "", "", "", false, false, "The option --user needs a value."},
        {{"--colour"}, "", "", "", false, false, "Unknown option --colour."},
        {{"--version=2"}, "", "", "", false, false, "Unknown option --version=2."},
        {{"--password", "x"}, "", "", "", false, false, "Unknown option --password."},
        {{""}, "", "", "", false, false, "The script file name is empty."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        const CommandLine line = ParseCommandLine(c.args);
        EXPECT_EQ(line.error, c.error);
        EXPECT_EQ(line.help, c.help);
        EXPECT_EQ(line.version, c.version);
        if (!c.error.empty()) continue;
        EXPECT_EQ(line.dataSource, c.dataSource);
        EXPECT_EQ(line.userName, c.userName);
        EXPECT_EQ(line.scriptFile, c.scriptFile);
    }
}

// The help names every option the parser takes; the version line carries the
// project's version.
TEST(CommandLineTest, HelpAndVersionText) {
    const std::string help = CommandLine::HelpText();
    EXPECT_EQ(help.rfind(CommandLine::Usage(), 0), 0u) << help;
    for (const char* option : {"--dsn NAME", "--connect STRING", "--user NAME", "--list-dsn", "-h, --help", "--version"})
        EXPECT_NE(help.find(option), std::string::npos) << option;
    EXPECT_TRUE(ParseCommandLine({"a.sql", "--list-dsn"}).listDataSources);
    EXPECT_EQ(CommandLine::VersionText(), "tarnwell " TARNWELL_PROJECT_VERSION "\n");
}

}  // namespace
