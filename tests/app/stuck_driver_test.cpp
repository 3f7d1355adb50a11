// The program itself started as a child process: command lines that end it
// at once, and the Connect dialog that a command line fills in. A driver
// that never returns from a statement, not even after Cancel: the window
// says that it waits for the driver and keeps Cancel, and closing asks
// whether to exit anyway. Yes ends the process, so that answer is tested on
// the real program run as a child.
#include "app_test_env.h"

#include "app/command_line.h"

#include <sys/wait.h>

#include <cstdlib>

using namespace app_test;
using namespace std::string_literals;

namespace {

const std::string kWaiting = "Waiting for the driver to stop the statement...";
const std::string kExitAnyway = "The database driver has not stopped the statement. Exit anyway?";

// The program with settings (environment variables) and args as a shell
// command on the test's display: message boxes go to standard error, which
// goes to the file Err() names; it ends after two minutes at the latest
// (exit status 124).
std::string Err() { return test_env::TempPath("child.err"); }
std::string Program(const std::string& settings, const std::vector<std::string>& args) {
    std::string command = "TARNWELL_MESSAGE_BOXES=stderr " + settings + " timeout 120 " TARNWELL_EXECUTABLE;
    for (const std::string& arg : args) command += " '" + arg + "'";
    return command + " 2> '" + Err() + "'";
}

// Command lines that end the program before its window comes: what it
// prints, and whether it ends with success.
TEST(StartupTest, CommandLinesThatEndTheProgramAtOnce) {
    const std::string missing = test_env::TempPath("not-there/missing.sql");
    const std::string out = test_env::TempPath("child.out");
    const struct {
        std::vector<std::string> args;
        std::string out, err;
        bool success;
    } cases[] = {
        {{missing}, "", "Tarnwell: " + missing + " was not found.\n", false},
        {{"a.sql", "b.sql"}, "", "Tarnwell: Only one script file can be opened at a time.\n"s + CommandLine::Usage(),
         false},
        {{"--help"}, CommandLine::HelpText(), "", true},
        {{"--version"}, CommandLine::VersionText(), "", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[0]);
        const int status = std::system((Program("TARNWELL_NO_CONNECT_DIALOG=1", c.args) + " > '" + out + "'").c_str());
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) != 124) << "did not end: " << ReadFile(Err());
        EXPECT_EQ(WEXITSTATUS(status) == 0, c.success);
        EXPECT_EQ(ReadFile(out), c.out);
        EXPECT_NE(ReadFile(Err()).find(c.err), std::string::npos) << ReadFile(Err());
    }
}

// The program with a script on the stuck data source, its message boxes on
// standard error and answered Yes: connect (Enter in the Connect dialog that
// the command line filled in; the window then names the script and the
// connection), Ctrl+Enter until the statement is in the driver, then File >
// Exit once a second until the program ends. The first Exit cancels the run;
// once the driver counts as stuck, the next one asks to exit anyway, and Yes
// ends the program there.
TEST(StuckDriverProgramTest, ExitAnywayEndsTheProgramAndKeepsTheSettings) {
    if (std::system("command -v xdotool > /dev/null 2>&1") != 0) GTEST_SKIP() << "xdotool is not installed";
    const std::string config = test_env::TempPath("stuck-config");
    const std::string dsn = test_env::NewStuckDsn("StuckProgram");
    const std::string script = WriteTempFile("stuck.sql", "select 1");
    const std::string command =
        Program("XDG_CONFIG_HOME='" + config + "' TARNWELL_NO_CONNECT_DIALOG=0 TARNWELL_MESSAGE_BOX_ANSWER=yes",
                {"--dsn", dsn, "--user", "scott", script}) +
        " & program=$!\n" +
        // Enter in the Connect dialog until it has taken it.
        "if timeout 30 xdotool search --sync --name '^Connect$' > /dev/null; then\n"
        "  for i in $(seq 1 30); do\n"
        "    xdotool windowfocus \"$(xdotool search --name '^Connect$' | head -n 1)\" 2> /dev/null\n"
        "    xdotool key Return; sleep 1\n"
        "    xdotool search --name '^Connect$' > /dev/null || break\n"
        "  done\n"
        "fi\n"
        "main=$(timeout 20 xdotool search --sync --name '^stuck\\.sql - Tarnwell - scott@" + dsn + "$' | head -n 1)\n"
        "[ -n \"$main\" ] || { kill $program; wait; exit 2; }\n"
        "for keys in ctrl+Return 'alt+f x'; do\n"
        "  for i in $(seq 1 30); do\n"
        "    xdotool windowfocus \"$main\" 2> /dev/null; xdotool key $keys; sleep 1\n"
        "    if [ \"$keys\" = ctrl+Return ]; then grep -q '^TarnwellStuck: executing' '" + Err() + "' && break\n"
        "    else kill -0 $program 2> /dev/null || break; fi\n"
        "  done\n"
        "done\n"
        "wait $program";
    const int status = std::system(command.c_str());
    const std::string printed = ReadFile(Err());
    ASSERT_TRUE(WIFEXITED(status)) << printed;
    EXPECT_EQ(WEXITSTATUS(status), 0) << "(2: no window named after the script and the connection)\n" << printed;
    // Asked once, last: Yes ended the program although the driver never returned.
    const std::string asked = "Tarnwell: " + kExitAnyway + "\n";
    EXPECT_TRUE(printed.ends_with(asked) && printed.find(asked) == printed.rfind(asked)) << printed;
    // The settings and the recent-file list were written on the way out.
    const std::string conf = ReadFile(config + "/Tarnwell/Tarnwell.conf");
    EXPECT_TRUE(conf.starts_with("[Settings]\n") && conf.find("=" + script + "\n") != std::string::npos) << conf;
}

// Last: closing the window at the end is forced, and a forced close during a
// run the driver does not stop ends the process (with status 0; failures
// before it are printed, and CTest looks for them).
TEST_F(WindowTest, DriverThatDoesNotStopKeepsTheRunAndAsksBeforeExiting) {
    CSecondWindow window(wxSize(700, 500));
    Connect(*window, test_env::NewStuckDsn("StuckWindow"));
    window->ScriptPane()->SetText(std::string_view("select 1"), false);
    window->Script()->Modify(false);
    window->RunCommand(ID_EXECUTE);
    // Once the statement is on its way to the driver, Esc cancels it there.
    ASSERT_TRUE(gui_env::WaitUntil([&] { return StatusOf(*window).starts_with("Executing statement 1: "); }));
    PressKey(*window, WXK_ESCAPE);
    // Right after the cancel, closing asks as during any run.
    window->Close(false);
    EXPECT_EQ(TakeOneMessageBox().text, "A script is running. Cancel it and close?");

    ASSERT_TRUE(gui_env::WaitUntil([&] { return StatusOf(*window) == kWaiting; }, 15000)) << StatusOf(*window);
    EXPECT_TRUE(window->IsRunning());
    EXPECT_TRUE(window->IsCommandEnabled(ID_CANCEL_EXECUTION));
    // No keeps the window with its run.
    window->Close(false);
    EXPECT_EQ(TakeOneMessageBox().text, kExitAnyway);
    gui_env::Settle();
    ASSERT_TRUE(window.Exists());
    EXPECT_TRUE(window->IsShown());
    EXPECT_TRUE(window->IsRunning());
    EXPECT_EQ(StatusOf(*window), kWaiting);
}

}  // namespace
