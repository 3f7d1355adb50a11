// Runs a command and records its wall time, its processor time (user and
// system), its peak resident memory (the child's ru_maxrss from wait4) and its
// page faults (ru_minflt + ru_majflt: mostly the first touch of a page of new
// memory), so the benchmark needs no /usr/bin/time.
//
//   bench_measure REPORT_FILE COMMAND [ARGS...]
//
// Writes "wall=SECONDS cpu=SECONDS maxrss_kb=KB faults=N" to REPORT_FILE and exits with the
// command's exit status (128 + signal number when it was killed).

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_measure REPORT_FILE COMMAND [ARGS...]\n");
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child < 0) {
        std::perror("bench_measure: fork");
        return 2;
    }
    if (child == 0) {
        execvp(argv[2], argv + 2);
        std::fprintf(stderr, "bench_measure: %s: %s\n", argv[2], std::strerror(errno));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    while (wait4(child, &status, 0, &usage) < 0) {
        if (errno != EINTR) {
            std::perror("bench_measure: wait4");
            return 2;
        }
    }
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    const double cpu = seconds(usage.ru_utime) + seconds(usage.ru_stime);
    if (std::FILE* report = std::fopen(argv[1], "w")) {
        std::fprintf(report, "wall=%.3f cpu=%.3f maxrss_kb=%ld faults=%ld\n", wall, cpu, usage.ru_maxrss,
                     usage.ru_minflt + usage.ru_majflt);
        std::fclose(report);
    } else {
        std::perror("bench_measure: report file");
    }
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    return 128 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
}
