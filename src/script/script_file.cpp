#include "script/script_file.h"

#include "common/file_descriptor.h"
#include "common/file_exception.h"
#include "panes/output_file_writer.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <utility>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

mode_t CurrentUmask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

// The file a path names, with symbolic links followed; the path itself when
// it cannot be resolved (for instance because the file does not exist yet).
std::string ResolvedPath(const std::string& path) {
    const std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr), &std::free);
    return real ? std::string(real.get()) : path;
}

// A new file that is removed again unless it is kept.
class TemporaryFile {
public:
    explicit TemporaryFile(std::string path) : m_strPath(std::move(path)) {}
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        if (!m_bKept) ::unlink(m_strPath.c_str());
    }
    const std::string& Path() const { return m_strPath; }
    void Keep() { m_bKept = true; }

private:
    std::string m_strPath;
    bool m_bKept = false;
};

}  // namespace

std::string CScriptFile::Read(const std::string& path) {
    const std::string fullPath = COutputFileWriter::FullPath(path);
    CFileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!file.IsOpen()) throw CFileException::FromErrno(errno, fullPath);

    std::string text;
    struct stat info {};
    if (::fstat(file.Get(), &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
        text.reserve(static_cast<std::size_t>(info.st_size));
    }
    // Read to the end, whatever the size said: the file may grow meanwhile.
    char chunk[1 << 16];
    for (;;) {
        const ssize_t got = ::read(file.Get(), chunk, sizeof chunk);
        if (got == 0) break;
        if (got < 0) {
            if (errno == EINTR) continue;
            throw CFileException::FromErrno(errno, fullPath);
        }
        text.append(chunk, static_cast<std::size_t>(got));
    }
    return text;
}

void CScriptFile::Write(const std::string& path, std::string_view bytes) {
    const std::string fullPath = COutputFileWriter::FullPath(path);
    const std::string target = ResolvedPath(path);
    struct stat info {};
    if (target == path && ::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        // A link to a file that does not exist yet: writing through the
        // link creates that file.
        COutputFileWriter::Write(path, bytes);
        return;
    }
    if (::stat(target.c_str(), &info) == 0) {
        if (::access(target.c_str(), W_OK) != 0) throw CFileException::FromErrno(errno, fullPath);
        if (S_ISREG(info.st_mode) && info.st_nlink == 1 && ReplaceAtomically(target, bytes, fullPath, &info)) return;
    } else if (errno == ENOENT && ReplaceAtomically(target, bytes, fullPath, nullptr)) {
        return;
    }
    // In place: the file is truncated and written; its failures name it.
    COutputFileWriter::Write(target, bytes);
}

void CScriptFile::WriteAll(int fd, std::string_view bytes, const std::string& fullPath) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            throw CFileException::FromErrno(errno, fullPath);
        }
        if (written == 0) throw CFileException(CFileException::generic, fullPath);
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

bool CScriptFile::ReplaceAtomically(const std::string& target, std::string_view bytes, const std::string& fullPath,
                                    const struct stat* existing) {
    const std::filesystem::path targetPath(target);
    const std::string pattern = (targetPath.parent_path() / ("." + targetPath.filename().string() + ".XXXXXX")).string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    CFileDescriptor file(::mkostemp(name.data(), O_CLOEXEC));
    if (!file.IsOpen()) return false;
    TemporaryFile temporary(name.data());

    WriteAll(file.Get(), bytes, fullPath);
    const mode_t mode = existing != nullptr ? (existing->st_mode & 07777) : (0666 & ~CurrentUmask());
    if (::fchmod(file.Get(), mode) != 0) throw CFileException::FromErrno(errno, fullPath);
    if (existing != nullptr && ::fchown(file.Get(), existing->st_uid, existing->st_gid) != 0) {
        // Only a privileged user may give the file away; it is then the
        // saving user's, with the old permissions.
    }
    if (::fsync(file.Get()) != 0 || file.Close() != 0) throw CFileException::FromErrno(errno, fullPath);
    if (::rename(temporary.Path().c_str(), target.c_str()) != 0) throw CFileException::FromErrno(errno, fullPath);
    temporary.Keep();
    return true;
}
