#include "child_process.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int kTimeoutMs = 120000;

class Pipe {
public:
    Pipe() {
        if (pipe2(m_fds, O_CLOEXEC) != 0) m_fds[0] = m_fds[1] = -1;
    }
    ~Pipe() {
        CloseRead();
        CloseWrite();
    }
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;
    int Read() const { return m_fds[0]; }
    int Write() const { return m_fds[1]; }
    void CloseRead() { Close(m_fds[0]); }
    void CloseWrite() { Close(m_fds[1]); }

private:
    static void Close(int& fd) {
        if (fd >= 0) close(fd);
        fd = -1;
    }
    int m_fds[2];
};

}  // namespace

ChildResult RunChild(const std::string& program, const std::vector<std::string>& args, const std::string& input,
                     const EnvChanges& env, const std::string& workingDir) {
    ChildResult result;
    Pipe in, out, err;
    std::vector<std::string> argvText = {program};
    argvText.insert(argvText.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : argvText) argv.push_back(arg.data());
    argv.push_back(nullptr);

    const pid_t pid = fork();
    if (pid < 0) {
        ADD_FAILURE() << "fork failed";
        return result;
    }
    if (pid == 0) {
        setsid();
        dup2(in.Read(), STDIN_FILENO);
        dup2(out.Write(), STDOUT_FILENO);
        dup2(err.Write(), STDERR_FILENO);
        for (const auto& [name, value] : env) {
            if (value)
                setenv(name.c_str(), value->c_str(), 1);
            else
                unsetenv(name.c_str());
        }
        if (!workingDir.empty() && chdir(workingDir.c_str()) != 0) _exit(126);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    in.CloseRead();
    out.CloseWrite();
    err.CloseWrite();

    // Feed standard input and drain both outputs together, so that neither
    // side blocks on a full pipe.
    std::size_t fed = 0;
    if (input.empty()) in.CloseWrite();
    signal(SIGPIPE, SIG_IGN);
    for (;;) {
        std::vector<pollfd> fds;
        if (in.Write() >= 0) fds.push_back({in.Write(), POLLOUT, 0});
        if (out.Read() >= 0) fds.push_back({out.Read(), POLLIN, 0});
        if (err.Read() >= 0) fds.push_back({err.Read(), POLLIN, 0});
        if (fds.empty()) break;
        const int ready = poll(fds.data(), fds.size(), kTimeoutMs);
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) {
            ADD_FAILURE() << "the child hangs (waiting for input?)";
            kill(pid, SIGKILL);
            break;
        }
        for (const pollfd& p : fds) {
            if (p.revents == 0) continue;
            if (p.fd == in.Write()) {
                const ssize_t put = write(p.fd, input.data() + fed, input.size() - fed);
                if (put > 0) fed += static_cast<std::size_t>(put);
                if (put <= 0 || fed == input.size()) in.CloseWrite();
                continue;
            }
            char block[65536];
            const ssize_t got = read(p.fd, block, sizeof block);
            if (got <= 0) {
                if (p.fd == out.Read()) out.CloseRead();
                else err.CloseRead();
                continue;
            }
            (p.fd == out.Read() ? result.out : result.err).append(block, static_cast<std::size_t>(got));
        }
    }

    int wstatus = 0;
    while (waitpid(pid, &wstatus, 0) < 0 && errno == EINTR) {
    }
    result.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
    return result;
}
