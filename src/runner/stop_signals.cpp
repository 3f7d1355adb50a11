#include "runner/stop_signals.h"

#include "runner/password_source.h"

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <system_error>
#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace {

sigset_t StopSet() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    return set;
}

// Blocks the signals in the calling thread and opens the descriptor they
// are read from instead.
int BlockedSignalFd() {
    const sigset_t set = StopSet();
    if (const int error = pthread_sigmask(SIG_BLOCK, &set, nullptr); error != 0)
        throw std::system_error(error, std::generic_category(), "cannot block SIGINT and SIGTERM");
    const int fd = signalfd(-1, &set, SFD_CLOEXEC);
    if (fd < 0) throw std::system_error(errno, std::generic_category(), "cannot take SIGINT and SIGTERM");
    return fd;
}

int NewEventFd() {
    const int fd = eventfd(0, EFD_CLOEXEC);
    if (fd < 0) throw std::system_error(errno, std::generic_category(), "cannot take SIGINT and SIGTERM");
    return fd;
}

[[noreturn]] void EndNow(int signalNumber) noexcept {
    CPasswordSource::RestoreTerminal();
    _exit(128 + signalNumber);
}

}  // namespace

CStopSignals::CStopSignals()
    : m_signalFd(BlockedSignalFd()), m_wakeFd(NewEventFd()), m_taker([this] { Take(); }) {}

CStopSignals::~CStopSignals() {
    const std::uint64_t one = 1;
    while (write(m_wakeFd.Get(), &one, sizeof one) < 0 && errno == EINTR) {
    }
    m_taker.join();
    if (m_stopping.joinable()) m_stopping.join();
}

void CStopSignals::Take() {
    pollfd fds[] = {{m_signalFd.Get(), POLLIN, 0}, {m_wakeFd.Get(), POLLIN, 0}};
    for (;;) {
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (fds[1].revents != 0) return;
        signalfd_siginfo info;
        if (read(m_signalFd.Get(), &info, sizeof info) == static_cast<ssize_t>(sizeof info))
            Stop(static_cast<int>(info.ssi_signo));
    }
}

void CStopSignals::Stop(int signalNumber) {
    const std::lock_guard lock(m_mutex);
    if (m_pControl == nullptr || m_nReceived != 0) EndNow(signalNumber);
    m_nReceived = signalNumber;
    // SQLCancel may wait for the server: it runs on a thread of its own, so
    // that a second signal is still taken meanwhile.
    CRunControl* const control = m_pControl;
    const auto stop = [control] { control->RequestStop(CRunControl::Stop::User); };
    try {
        m_stopping = std::thread(stop);
    } catch (const std::system_error&) {
        stop();
    }
}

void CStopSignals::Unwatch() {
    std::thread stopping;
    {
        const std::lock_guard lock(m_mutex);
        m_pControl = nullptr;
        stopping = std::move(m_stopping);
    }
    if (stopping.joinable()) stopping.join();
}

int CStopSignals::ExitStatus() const {
    const std::lock_guard lock(m_mutex);
    return m_nReceived == 0 ? 0 : 128 + m_nReceived;
}

CStopSignals::Watch::Watch(CStopSignals& signals, CRunControl& control) : m_signals(signals) {
    const std::lock_guard lock(signals.m_mutex);
    signals.m_pControl = &control;
}

CStopSignals::Watch::~Watch() { m_signals.Unwatch(); }
