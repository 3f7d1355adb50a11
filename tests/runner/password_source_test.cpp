#include "runner/password_source.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <string>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

class Fd {
public:
    explicit Fd(int fd = -1) : m_fd(fd) {}
    ~Fd() {
        if (m_fd >= 0) close(m_fd);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int Get() const { return m_fd; }

private:
    int m_fd;
};

// A pseudo-terminal: the test types on the master side, the code under test
// reads the slave side as its terminal.
struct PseudoTerminal {
    Fd master;
    Fd slave;

    PseudoTerminal() : master(posix_openpt(O_RDWR | O_NOCTTY)), slave(OpenSlave(master.Get())) {}

    static int OpenSlave(int master) {
        if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) return -1;
        const char* name = ptsname(master);
        return name ? open(name, O_RDWR | O_NOCTTY) : -1;
    }
    bool Ok() const { return master.Get() >= 0 && slave.Get() >= 0; }

    // Everything the terminal has shown so far (what the program wrote and
    // what the line discipline echoed), waiting up to timeoutMs for more.
    std::string Shown(int timeoutMs) {
        std::string text;
        pollfd p{master.Get(), POLLIN, 0};
        while (poll(&p, 1, timeoutMs) > 0 && (p.revents & POLLIN)) {
            char block[256];
            const ssize_t got = read(master.Get(), block, sizeof block);
            if (got <= 0) break;
            text.append(block, static_cast<std::size_t>(got));
            timeoutMs = 100;
        }
        return text;
    }
};

struct TypedCase {
    std::string typed;
    std::string password;
};

TEST(PasswordSource, ReadsOneLineWithoutEchoAndRestoresTheTerminal) {
    const std::vector<TypedCase> cases = {
        {"s3cr3t pass\n", "s3cr3t pass"},
        {"\n", ""},
        {"caf\xC3\xA9\n", "caf\xC3\xA9"},
        {"first\nsecond\n", "first"},
    };
    for (const TypedCase& c : cases) {
        PseudoTerminal tty;
        if (!tty.Ok()) GTEST_SKIP() << "no pseudo-terminal";
        termios before;
        ASSERT_EQ(tcgetattr(tty.slave.Get(), &before), 0);
        ASSERT_TRUE(before.c_lflag & ECHO);

        std::optional<std::string> password;
        std::thread reader([&] { password = CPasswordSource::ReadHidden(tty.slave.Get(), tty.slave.Get(), "Password: "); });
        // Type only once the prompt is there: the echo is off by then.
        std::string shown = tty.Shown(5000);
        EXPECT_EQ(shown, "Password: ");
        ASSERT_EQ(write(tty.master.Get(), c.typed.data(), c.typed.size()), static_cast<ssize_t>(c.typed.size()));
        reader.join();
        shown += tty.Shown(200);

        EXPECT_EQ(password, c.password) << c.typed;
        // The prompt and the line end show; the password does not.
        EXPECT_EQ(shown.substr(0, 10), "Password: ");
        if (!c.password.empty()) {
            EXPECT_EQ(shown.find(c.password), std::string::npos) << shown;
        }
        EXPECT_NE(shown.find('\n'), std::string::npos);
        termios after;
        ASSERT_EQ(tcgetattr(tty.slave.Get(), &after), 0);
        EXPECT_EQ(after.c_lflag, before.c_lflag);
    }
}

TEST(PasswordSource, EndOfInputGivesWhatWasTyped) {
    PseudoTerminal tty;
    if (!tty.Ok()) GTEST_SKIP() << "no pseudo-terminal";
    std::optional<std::string> password;
    std::thread reader([&] { password = CPasswordSource::ReadHidden(tty.slave.Get(), tty.slave.Get(), "pw? "); });
    EXPECT_EQ(tty.Shown(5000), "pw? ");
    // Ctrl+D after some characters hands them over; a second one is the end.
    ASSERT_EQ(write(tty.master.Get(), "abc\x04\x04", 5), 5);
    reader.join();
    EXPECT_EQ(password, "abc");
}

TEST(PasswordSource, NoTerminalNoPrompt) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    const Fd readEnd(fds[0]);
    const Fd writeEnd(fds[1]);
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
