#include "app/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct LineCase {
    std::vector<std::string> args;
    std::string dataSource;
    std::string userName;
    std::string scriptFile;
    bool help;
    bool error;
};

const LineCase kLineCases[] = {
    {{}, "", "", "", false, false},
    {{"report.sql"}, "", "", "report.sql", false, false},
    {{"--dsn", "Demo", "--user", "scott", "a.sql"}, "Demo", "scott", "a.sql", false, false},
    {{"a.sql", "--dsn=Demo"}, "Demo", "", "a.sql", false, false},
    {{"--user=", "--dsn", ""}, "", "", "", false, false},
    {{"--dsn", "my dsn", "/tmp/with space.sql"}, "my dsn", "", "/tmp/with space.sql", false, false},
    {{"--", "--dsn"}, "", "", "--dsn", false, false},
    {{"-"}, "", "", "-", false, false},
    {{"--help"}, "", "", "", true, false},
    {{"-h"}, "", "", "", true, false},
    // At most one script file, known options only, every option with its value.
    {{"a.sql", "b.sql"}, "", "", "a.sql", false, true},
    {{"--dsn"}, "", "", "", false, true},
    {{"--password", "x"}, "", "", "", false, true},
    {{"-x"}, "", "", "", false, true},
    {{""}, "", "", "", false, true},
};

TEST(CommandLineTest, ParsesOptionsAndAtMostOneScript) {
    for (const LineCase& c : kLineCases) {
        std::string joined;
        for (const std::string& arg : c.args) joined += "[" + arg + "]";
        const CommandLine line = ParseCommandLine(c.args);
        EXPECT_EQ(!line.error.empty(), c.error) << joined << ": " << line.error;
        EXPECT_EQ(line.help, c.help) << joined;
        if (c.error) continue;
        EXPECT_EQ(line.dataSource, c.dataSource) << joined;
        EXPECT_EQ(line.userName, c.userName) << joined;
        EXPECT_EQ(line.scriptFile, c.scriptFile) << joined;
    }
}

TEST(CommandLineTest, ErrorsSayWhatIsWrong) {
    EXPECT_EQ(ParseCommandLine({"a.sql", "b.sql"}).error, "Only one script file can be opened at a time.");
    EXPECT_EQ(ParseCommandLine({"--user"}).error, "The option --user needs a value.");
    EXPECT_EQ(ParseCommandLine({"--colour"}).error, "Unknown option --colour.");
}

}  // namespace
