#include "runner/script_file_reader.h"

#include "runner/script_file_error.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

[[noreturn]] void Fail(const std::string& path, int error) {
    const std::string what = path == "-" ? "the script from standard input" : "script file '" + path + "'";
    throw CScriptFileError("cannot read " + what + ": " + std::strerror(error));
}

// The file descriptor of one opened script file, closed on every way out.
class OpenFile {
public:
    explicit OpenFile(const std::string& path) : m_fd(open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
        if (m_fd < 0) Fail(path, errno);
    }
    ~OpenFile() { close(m_fd); }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    int Get() const noexcept { return m_fd; }

private:
    int m_fd;
};

std::string ReadAll(int fd, const std::string& path) {
    struct stat info;
    if (fstat(fd, &info) != 0) Fail(path, errno);
    // A directory opens for reading but has no bytes to give.
    if (S_ISDIR(info.st_mode)) Fail(path, EISDIR);

    std::string text;
    if (S_ISREG(info.st_mode) && info.st_size > 0) text.reserve(static_cast<std::size_t>(info.st_size));
    char block[65536];
    for (;;) {
        const ssize_t got = read(fd, block, sizeof block);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) Fail(path, errno);
        if (got == 0) return text;
        text.append(block, static_cast<std::size_t>(got));
    }
}

}  // namespace

std::string CScriptFileReader::Read(const std::string& path) {
    if (path == "-") return ReadAll(STDIN_FILENO, path);
    const OpenFile file(path);
    return ReadAll(file.Get(), path);
}
