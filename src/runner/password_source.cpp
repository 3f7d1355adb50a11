#include "runner/password_source.h"

#include "common/file_descriptor.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <atomic>

namespace {

// The terminal whose echo is off, for the signal handler and for the thread
// that takes the stop signals: a signal that ends the program while the
// prompt waits must not leave the terminal silent. Lock-free, so a handler
// may read it; the mode is written before the descriptor is published.
std::atomic<int> g_echoFd{-1};
termios g_savedMode;

static_assert(std::atomic<int>::is_always_lock_free);

void RestoreEcho() noexcept {
    const int fd = g_echoFd.load(std::memory_order_acquire);
    if (fd >= 0) tcsetattr(fd, TCSANOW, &g_savedMode);
}

constexpr std::array kFatalSignals = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

extern "C" void RestoreEchoAndDie(int signalNumber) {
    RestoreEcho();
    signal(signalNumber, SIG_DFL);
    raise(signalNumber);
}

// Switches the echo of a terminal off for its lifetime, keeping the echo of
// the final line end so the cursor moves on after the hidden input.
class EchoOff {
public:
    EchoOff(int fd, const termios& saved) : m_fd(fd) {
        g_savedMode = saved;
        g_echoFd.store(fd, std::memory_order_release);
        struct sigaction action = {};
        action.sa_handler = RestoreEchoAndDie;
        sigemptyset(&action.sa_mask);
        for (std::size_t i = 0; i < kFatalSignals.size(); ++i) sigaction(kFatalSignals[i], &action, &m_previous[i]);
        termios quiet = saved;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        quiet.c_lflag |= ECHONL | ICANON;
        tcsetattr(fd, TCSANOW, &quiet);
    }
    ~EchoOff() {
        tcsetattr(m_fd, TCSANOW, &g_savedMode);
        g_echoFd.store(-1, std::memory_order_release);
        for (std::size_t i = 0; i < kFatalSignals.size(); ++i) sigaction(kFatalSignals[i], &m_previous[i], nullptr);
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;

private:
    int m_fd;
    std::array<struct sigaction, kFatalSignals.size()> m_previous{};
};

void WriteAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t written = write(fd, text.data(), text.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return;
        text.remove_prefix(static_cast<std::size_t>(written));
    }
}

}  // namespace

std::optional<std::string> CPasswordSource::ReadHidden(int inFd, int outFd, std::string_view prompt) {
    termios saved;
    if (tcgetattr(inFd, &saved) != 0) return std::nullopt;

    std::string line;
    {
        const EchoOff echoOff(inFd, saved);
        WriteAll(outFd, prompt);
        for (;;) {
            char byte;
            const ssize_t got = read(inFd, &byte, 1);
            if (got < 0 && errno == EINTR) continue;
            if (got > 0 && byte == '\n') break;
            if (got <= 0) {
                // End of input without a line end: the terminal echoed none.
                WriteAll(outFd, "\n");
                break;
            }
            line.push_back(byte);
        }
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

void CPasswordSource::RestoreTerminal() noexcept { RestoreEcho(); }

std::string CPasswordSource::Obtain(bool scriptsOnStandardInput) {
    if (const char* value = std::getenv(kVariable)) return value;

    if (scriptsOnStandardInput) {
        // Standard input is the script: ask on the controlling terminal, if any.
        const CFileDescriptor tty(open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC));
        if (tty.Get() < 0) return {};
        return ReadHidden(tty.Get(), tty.Get(), kPrompt).value_or(std::string());
    }
    if (isatty(STDIN_FILENO)) return ReadHidden(STDIN_FILENO, STDERR_FILENO, kPrompt).value_or(std::string());
    return {};
}
