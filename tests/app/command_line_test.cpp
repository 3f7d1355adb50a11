#include "app/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

// The parsed command line as "data source|user name|script file", or its
// error, followed by "|help" and "|version" when they are asked for.
TEST(CommandLineTest, ParsesOptionsAndAtMostOneScript) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{}, "||"},
        {{"--dsn", "my dsn", "--user", "scott", "/tmp/with space.sql"}, "my dsn|scott|/tmp/with space.sql"},
        {{"a.sql", "--dsn=Demo", "--user="}, "Demo||a.sql"},
        {{"--", "--dsn"}, "||--dsn"},
        {{"--", "--version"}, "||--version"},
        {{"-"}, "||-"},
        {{"-h"}, "|||help"},
        {{"a.sql", "--version"}, "||a.sql|version"},
        {{"--dsn", "--version"}, "--version||"},
        {{"--connect", "DSN=Demo;UID=ann", "--user=bob"}, "DSN=Demo;UID=ann|bob|"},
        {{"--connect=Demo"}, "The option --connect needs a connection string (KEY=VALUE;...)."},
        {{"a.sql", "b.sql"}, "Only one script file can be opened at a time."},
        {{"--user"}, "The option --user needs a value."},
        {{"--colour"}, "Unknown option --colour."},
        {{"--version=2"}, "Unknown option --version=2."},
        {{"--password", "x"}, "Unknown option --password."},
        {{""}, "The script file name is empty."},
    };
    for (const auto& [args, expected] : cases) {
        const CommandLine line = ParseCommandLine(args);
        std::string parsed = line.error.empty() ? line.dataSource + "|" + line.userName + "|" + line.scriptFile
                                                : line.error;
        parsed += std::string(line.help ? "|help" : "") + (line.version ? "|version" : "");
        EXPECT_EQ(parsed, expected) << ::testing::PrintToString(args);
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
