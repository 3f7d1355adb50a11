// The program itself started as a child process: command lines that end it
// at once. (The Connect dialog that a command line fills in: see
// stuck_driver_test.)
#include "app/command_line.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string ChildOutput(const char* stream) { return test_env::ReadFile(test_env::TempPath("child.") + stream); }

// The program with args as a shell command on the test's display: message
// boxes go to standard error, its output to the files ChildOutput reads, no
// Connect dialog, and it ends after a minute at the latest (exit status 124).
std::string Program(const std::vector<std::string>& args) {
    std::string command = "TARNWELL_MESSAGE_BOXES=stderr TARNWELL_NO_CONNECT_DIALOG=1 timeout 60 " TARNWELL_EXECUTABLE;
    for (const std::string& arg : args) command += " '" + arg + "'";
    return command + " > '" + test_env::TempPath("child.out") + "' 2> '" + test_env::TempPath("child.err") + "'";
}

// Command lines that end the program before its window comes: what it
// prints, and whether it ends with success.
TEST(StartupTest, CommandLinesThatEndTheProgramAtOnce) {
    const std::string missing = test_env::TempPath("not-there/missing.sql");
    const std::string usage = CommandLine::Usage();
    const struct {
        std::vector<std::string> args;
        std::string out;
        std::string err;
        bool success;
    } cases[] = {
        {{missing}, "", "Tarnwell: " + missing + " was not found.\n", false},
        {{"a.sql", "b.sql"}, "", "Tarnwell: Only one script file can be opened at a time.\n" + usage, false},
        {{"--help"}, CommandLine::HelpText(), "", true},
        {{"--version"}, CommandLine::VersionText(), "", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[0]);
        const int status = std::system(Program(c.args).c_str());
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) != 124) << "did not end: " << ChildOutput("err");
        EXPECT_EQ(WEXITSTATUS(status) == 0, c.success);
        EXPECT_EQ(ChildOutput("out"), c.out);
        EXPECT_NE(ChildOutput("err").find(c.err), std::string::npos) << ChildOutput("err");
    }
}

}  // namespace
