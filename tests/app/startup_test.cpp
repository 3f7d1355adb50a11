// The program itself started as a child process: command lines that end it
// at once, and the Connect dialog that a command line fills in.
#include "app_test_env.h"

#include "support/test_env.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

// What the program did when started as a child process.
struct ChildRun {
    bool finished = false;  // false: still running when the time was up (then killed)
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Starts the program with args on the test's display (message boxes go to
// standard error, no Connect dialog unless asked for), lets whileRunning(pid)
// act on it, and waits up to seconds for it to end.
ChildRun StartProgram(const std::vector<std::string>& args, int seconds,
                      const std::function<void(pid_t)>& whileRunning = {}, bool connectDialog = false) {
    setenv("TARNWELL_MESSAGE_BOXES", "stderr", 1);
    if (connectDialog)
        unsetenv("TARNWELL_NO_CONNECT_DIALOG");
    else
        setenv("TARNWELL_NO_CONNECT_DIALOG", "1", 1);
    const std::string out = test_env::TempDir() + "/child.out";
    const std::string err = test_env::TempDir() + "/child.err";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::vector<std::string> all{TARNWELL_EXECUTABLE};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : all) argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, TARNWELL_EXECUTABLE, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    unsetenv("TARNWELL_MESSAGE_BOXES");
    ChildRun run;
    if (spawned != 0) {
        ADD_FAILURE() << "cannot start " << TARNWELL_EXECUTABLE;
        return run;
    }
    if (whileRunning) whileRunning(pid);
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (!(run.finished = waitpid(pid, &status, WNOHANG) == pid) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (!run.finished) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
    }
    if (run.finished && WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
    run.out = app_test::ReadFile(out);
    run.err = app_test::ReadFile(err);
    return run;
}

// The name of the first window whose title matches pattern, waiting up to
// limit for it ("" when none came).
std::string WaitForWindow(const std::string& pattern, int seconds) {
    const std::string command = "timeout " + std::to_string(seconds) + " xdotool search --sync --name '" + pattern +
                                "' getwindowname 2>/dev/null | head -n 1";
    std::string name;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char line[512];
        if (fgets(line, sizeof line, pipe)) name = line;
        pclose(pipe);
    }
    if (!name.empty() && name.back() == '\n') name.pop_back();
    return name;
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
        const ChildRun run = StartProgram(c.args, 60);
        ASSERT_TRUE(run.finished) << run.err;
        EXPECT_EQ(run.exitCode == 0, c.success);
        EXPECT_EQ(run.out, c.out);
        EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
    }
}

TEST(StartupTest, ConnectDialogComesUpOnceWithTheCommandLinesValues) {
    if (std::system("command -v xdotool > /dev/null 2>&1") != 0) GTEST_SKIP() << "xdotool is not installed";
    const std::string path = test_env::TempDir() + "/connect-me.sql";
    std::ofstream(path) << "select 1;";
    std::string title;
    const ChildRun run = StartProgram(
        {"--dsn", test_env::SqliteDsn(), "--user", "scott", path}, 90,
        [&](pid_t pid) {
            // The dialog stands over the window, the fields filled in: OK
            // (Enter, again until the dialog has taken it).
            if (!WaitForWindow("^Connect$", 30).empty())
                std::system("for i in $(seq 1 30); do"
                            " xdotool windowfocus \"$(xdotool search --name '^Connect$' | head -n 1)\" 2>/dev/null;"
                            " xdotool key Return; sleep 1;"
                            " xdotool search --name '^Connect$' > /dev/null || break; done");
            title = WaitForWindow("^connect-me\\.sql - Tarnwell - scott@", 20);
            kill(pid, SIGTERM);
        },
        true);
    EXPECT_EQ(title, "connect-me.sql - Tarnwell - scott@" + test_env::SqliteDsn()) << run.err;
}

}  // namespace
