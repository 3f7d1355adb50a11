#include "support/test_env.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
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

// Reads everything from fd that is there now.
void Drain(int fd, std::string& into) {
    char buffer[4096];
    for (;;) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 0) <= 0) return;
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0) return;
        into.append(buffer, static_cast<size_t>(n));
    }
}

// Starts build/tarnwell with args on the test's display (message boxes go to
// standard error, no Connect dialog unless asked for), waits up to limit for
// it to end, and with whileRunning(pid) gets a say while it runs.
ChildRun StartProgram(const std::vector<std::string>& args, std::chrono::seconds limit,
                 const std::function<bool(pid_t)>& whileRunning = {}, bool connectDialog = false) {
    setenv("TARNWELL_MESSAGE_BOXES", "stderr", 1);
    if (connectDialog)
        unsetenv("TARNWELL_NO_CONNECT_DIALOG");
    else
        setenv("TARNWELL_NO_CONNECT_DIALOG", "1", 1);
    int outPipe[2];
    int errPipe[2];
    EXPECT_EQ(pipe2(outPipe, O_CLOEXEC), 0);
    EXPECT_EQ(pipe2(errPipe, O_CLOEXEC), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, outPipe[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, errPipe[1], STDERR_FILENO);
    std::vector<std::string> all{TARNWELL_EXECUTABLE};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : all) argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, TARNWELL_EXECUTABLE, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(outPipe[1]);
    close(errPipe[1]);
    unsetenv("TARNWELL_MESSAGE_BOXES");
    ChildRun run;
    if (spawned != 0) {
        ADD_FAILURE() << "cannot start " << TARNWELL_EXECUTABLE;
        return run;
    }
    const auto deadline = std::chrono::steady_clock::now() + limit;
    int status = 0;
    bool asked = false;
    while (std::chrono::steady_clock::now() < deadline) {
        Drain(outPipe[0], run.out);
        Drain(errPipe[0], run.err);
        if (waitpid(pid, &status, WNOHANG) == pid) {
            run.finished = true;
            break;
        }
        if (whileRunning && !asked) asked = whileRunning(pid);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (!run.finished) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
    }
    Drain(outPipe[0], run.out);
    Drain(errPipe[0], run.err);
    close(outPipe[0]);
    close(errPipe[0]);
    if (run.finished && WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
    return run;
}

bool HaveXdotool() { return std::system("command -v xdotool > /dev/null 2>&1") == 0; }

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

TEST(StartupTest, MissingScriptFileEndsTheProgramAfterItsMessage) {
    const std::string missing = test_env::TempDir() + "/not-there/missing.sql";
    const ChildRun run = StartProgram({missing}, std::chrono::seconds(60));
    ASSERT_TRUE(run.finished) << run.err;
    EXPECT_NE(run.exitCode, 0);
    EXPECT_NE(run.err.find("Tarnwell: " + missing + " was not found.\n"), std::string::npos) << run.err;
}

TEST(StartupTest, WrongCommandLinesAreRefused) {
    const ChildRun two = StartProgram({"a.sql", "b.sql"}, std::chrono::seconds(60));
    ASSERT_TRUE(two.finished);
    EXPECT_NE(two.exitCode, 0);
    EXPECT_NE(two.err.find("Tarnwell: Only one script file can be opened at a time.\n"
                           "Usage: tarnwell [--dsn NAME] [--user NAME] [FILE]"),
              std::string::npos)
        << two.err;

    const ChildRun help = StartProgram({"--help"}, std::chrono::seconds(60));
    ASSERT_TRUE(help.finished);
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out, "Usage: tarnwell [--dsn NAME] [--user NAME] [FILE]\n");
}

TEST(StartupTest, ScriptFileOnTheCommandLineIsOpened) {
    if (!HaveXdotool()) GTEST_SKIP() << "xdotool is not installed";
    const std::string path = test_env::TempDir() + "/start-me.sql";
    std::ofstream(path) << "select 1;";
    std::string title;
    const ChildRun run = StartProgram({path}, std::chrono::seconds(30), [&](pid_t pid) {
        title = WaitForWindow("^start-me\\.sql - Tarnwell", 20);
        kill(pid, SIGTERM);
        return true;
    });
    EXPECT_EQ(title, "start-me.sql - Tarnwell - not connected") << run.err;
}

TEST(StartupTest, ConnectDialogComesUpOnceWithTheCommandLinesValues) {
    if (!HaveXdotool()) GTEST_SKIP() << "xdotool is not installed";
    const std::string path = test_env::TempDir() + "/connect-me.sql";
    std::ofstream(path) << "select 1;";
    std::string title;
    const ChildRun run = StartProgram(
        {"--dsn", test_env::SqliteDsn(), "--user", "scott", path}, std::chrono::seconds(90),
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
            return true;
        },
        true);
    EXPECT_EQ(title, "connect-me.sql - Tarnwell - scott@" + test_env::SqliteDsn()) << run.err;
}

}  // namespace
