#include "child_process.h"

#include "support/test_env.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

std::string FileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

ChildResult RunChild(const std::string& program, const std::vector<std::string>& args, const std::string& input,
                     const EnvChanges& env, const std::string& workingDir) {
    // Standard input and both outputs are files of this process: no pipe can
    // fill up while the child runs.
    static int runs = 0;
    const std::string base = test_env::TempDir() + "/child" + std::to_string(++runs);
    WriteFileBytes(base + ".in", input);
    std::vector<std::string> argvText = {program};
    argvText.insert(argvText.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : argvText) argv.push_back(arg.data());
    argv.push_back(nullptr);

    const pid_t pid = fork();
    if (pid == 0) {
        setsid();
        const auto redirect = [](const std::string& path, int flags, int fd) {
            const int opened = open(path.c_str(), flags, 0600);
            if (opened < 0 || dup2(opened, fd) < 0) _exit(126);
            close(opened);
        };
        redirect(base + ".in", O_RDONLY, STDIN_FILENO);
        redirect(base + ".out", O_WRONLY | O_CREAT | O_TRUNC, STDOUT_FILENO);
        redirect(base + ".err", O_WRONLY | O_CREAT | O_TRUNC, STDERR_FILENO);
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
    ChildResult result;
    if (pid < 0) {
        ADD_FAILURE() << "fork failed";
        return result;
    }
    // A child that waits for input it never gets is ended by the test's timeout.
    int wstatus = 0;
    while (waitpid(pid, &wstatus, 0) < 0 && errno == EINTR) {
    }
    result.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
    result.out = FileBytes(base + ".out");
    result.err = FileBytes(base + ".err");
    return result;
}
