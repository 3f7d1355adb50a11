#include "runner/password_source.h"

#include "common/file_descriptor.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

// Everything the terminal has shown on its master side so far (what the
// program wrote and what the line discipline echoed), waiting up to
// timeoutMs for more.
std::string Shown(int master, int timeoutMs) {
    std::string text;
    pollfd p{master, POLLIN, 0};
    char block[256];
    for (ssize_t got; poll(&p, 1, timeoutMs) > 0 && (got = read(master, block, sizeof block)) > 0; timeoutMs = 100)
        text.append(block, static_cast<std::size_t>(got));
    return text;
}

// The test types on a pseudo-terminal's master side; the prompt reads the
// slave side as its terminal.
TEST(PasswordSource, ReadsOneLineWithoutEchoAndRestoresTheTerminal) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"s3cr3t pass\n", "s3cr3t pass"},
        {"\n", ""},
        {"first\nsecond\n", "first"},
        {"abc\x04\x04", "abc"},  // Ctrl+D after some characters hands them over; a second one ends the input
    };
    for (const auto& [typed, password] : cases) {
        SCOPED_TRACE(typed);
        const CFileDescriptor master(posix_openpt(O_RDWR | O_NOCTTY));
        ASSERT_TRUE(master.IsOpen() && grantpt(master.Get()) == 0 && unlockpt(master.Get()) == 0);
        const CFileDescriptor slave(open(ptsname(master.Get()), O_RDWR | O_NOCTTY));
        termios before;
        ASSERT_EQ(tcgetattr(slave.Get(), &before), 0);
        ASSERT_TRUE(before.c_lflag & ECHO);

        std::optional<std::string> read;
        std::thread reader([&] { read = CPasswordSource::ReadHidden(slave.Get(), slave.Get(), "Password: "); });
        // Type only once the prompt is there: the echo is off by then.
        std::string shown = Shown(master.Get(), 5000);
        EXPECT_EQ(shown, "Password: ");
        EXPECT_EQ(write(master.Get(), typed.data(), typed.size()), static_cast<ssize_t>(typed.size()));
        reader.join();
        shown += Shown(master.Get(), 200);

        EXPECT_EQ(read, password);
        // After the prompt only the line ends show, never the password.
        EXPECT_GT(shown.size(), 10u);
        EXPECT_EQ(shown.find_first_not_of("\r\n", 10), std::string::npos) << shown;
        termios after;
        ASSERT_EQ(tcgetattr(slave.Get(), &after), 0);
        EXPECT_EQ(after.c_lflag, before.c_lflag);
    }
}

TEST(PasswordSource, NoTerminalNoPrompt) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    const CFileDescriptor readEnd(fds[0]);
    const CFileDescriptor writeEnd(fds[1]);
    ASSERT_EQ(write(writeEnd.Get(), "secret\n", 7), 7);
    EXPECT_EQ(CPasswordSource::ReadHidden(readEnd.Get(), writeEnd.Get(), "Password: "), std::nullopt);
    // Nothing was read from the pipe and nothing written to it.
    char rest[16];
    EXPECT_EQ(read(readEnd.Get(), rest, sizeof rest), 7);
}

TEST(PasswordSource, TheEnvironmentVariableWinsEvenWhenEmpty) {
    for (const char* value : {"from-env", ""}) {
        setenv(CPasswordSource::kVariable, value, 1);
        EXPECT_EQ(CPasswordSource::Obtain(true), value);
        EXPECT_EQ(CPasswordSource::Obtain(false), value);
    }
    unsetenv(CPasswordSource::kVariable);
}

}  // namespace
