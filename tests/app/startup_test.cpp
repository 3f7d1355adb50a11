// The program itself started as a child process: command lines that end it
// at once, and the Connect dialog that a command line fills in.
#include "app_test_env.h"

#include "support/test_env.h"

#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string ChildOutput(const char* stream) { return app_test::ReadFile(test_env::TempDir() + "/child." + stream); }

// The program with args as a shell command on the test's display: message
// boxes go to standard error, its output to the files ChildOutput reads, no
// Connect dialog unless asked for, and it ends after seconds at the latest
// (exit status 124).
std::string Program(const std::vector<std::string>& args, int seconds, bool connectDialog = false) {
    std::string command = std::string("TARNWELL_MESSAGE_BOXES=stderr TARNWELL_NO_CONNECT_DIALOG=") +
                          (connectDialog ? "0" : "1") + " timeout " + std::to_string(seconds) + " " TARNWELL_EXECUTABLE;
    for (const std::string& arg : args) command += " '" + arg + "'";
    return command + " > '" + test_env::TempDir() + "/child.out' 2> '" + test_env::TempDir() + "/child.err'";
}

// Command lines that end the program before its window comes: what it
// prints, and whether it ends with success.
TEST(StartupTest, CommandLinesThatEndTheProgramAtOnce) {
    const std::string missing = test_env::TempDir() + "/not-there/missing.sql";
    const std::string usage = "Usage: tarnwell [--dsn NAME] [--user NAME] [FILE]";
    const struct {
        std::vector<std::string> args;
        std::string out;
        std::string err;
        bool success;
    } cases[] = {
        {{missing}, "", "Tarnwell: " + missing + " was not found.\n", false},
        {{"a.sql", "b.sql"}, "", "Tarnwell: Only one script file can be opened at a time.\n" + usage, false},
        {{"--help"}, usage + "\n", "", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[0]);
        const int status = std::system(Program(c.args, 60).c_str());
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) != 124) << "did not end: " << ChildOutput("err");
        EXPECT_EQ(WEXITSTATUS(status) == 0, c.success);
        EXPECT_EQ(ChildOutput("out"), c.out);
        EXPECT_NE(ChildOutput("err").find(c.err), std::string::npos) << ChildOutput("err");
    }
}

TEST(StartupTest, ConnectDialogComesUpWithTheCommandLinesValues) {
    if (std::system("command -v xdotool > /dev/null 2>&1") != 0) GTEST_SKIP() << "xdotool is not installed";
    const std::string path = app_test::WriteTempFile("connect-me.sql", "select 1;");
    // The dialog stands over the window, the fields filled in: OK (Enter,
    // again until the dialog has taken it). Then the window names the script
    // and the connection.
    const std::string script =
        Program({"--dsn", test_env::SqliteDsn(), "--user", "scott", path}, 90, true) + " & program=$!\n" +
        app_test::ConfirmConnectDialogCommands() +
        "timeout 20 xdotool search --sync --name '^connect-me\\.sql - Tarnwell - scott@" +
        test_env::SqliteDsn() + "$' > /dev/null\n" + "found=$?; kill $program; wait; exit $found";
    EXPECT_EQ(std::system(script.c_str()), 0) << ChildOutput("err");
}

}  // namespace
