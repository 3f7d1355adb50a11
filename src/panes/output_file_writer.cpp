#include "panes/output_file_writer.h"

#include "common/file_descriptor.h"
#include "common/file_exception.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace {

// Whether a lock call failed because someone else holds a lock on the file.
bool HeldElsewhere(int osError) { return osError == EWOULDBLOCK || osError == EAGAIN || osError == EACCES; }

// The file is for this writer alone while it is open: it takes both kinds of
// lock other programs use (flock and record locks). A file that another
// program holds locked is a sharing violation. A file system that cannot
// lock at all does not stop the write.
void LockForExclusiveUse(int fd, const std::string& fullPath) {
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 && HeldElsewhere(errno)) {
        throw CFileException(CFileException::sharingViolation, fullPath, errno);
    }
    struct flock whole = {};
    whole.l_type = F_WRLCK;
    whole.l_whence = SEEK_SET;  // l_start 0, l_len 0: the whole file
    if (::fcntl(fd, F_OFD_SETLK, &whole) != 0 && HeldElsewhere(errno)) {
        throw CFileException(CFileException::sharingViolation, fullPath, errno);
    }
}

}  // namespace

std::string COutputFileWriter::FullPath(const std::string& path) {
    if (path.empty()) return path;
    std::error_code error;
    const std::filesystem::path full = std::filesystem::absolute(path, error);
    return error ? path : full.string();
}

void COutputFileWriter::Write(const std::string& path, std::string_view bytes) {
    const std::string fullPath = FullPath(path);
    // 0666 is narrowed by the process's umask, as for any new file. The
    // file is emptied only once it is locked, so a file in use elsewhere
    // keeps its content.
    CFileDescriptor file(::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666));
    if (!file.IsOpen()) throw CFileException::FromErrno(errno, fullPath, true);
    LockForExclusiveUse(file.Get(), fullPath);
    struct stat status = {};
    if (::fstat(file.Get(), &status) == 0 && S_ISREG(status.st_mode) && ::ftruncate(file.Get(), 0) != 0) {
        throw CFileException::FromErrno(errno, fullPath);
    }

    const char* next = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(file.Get(), next, left);
        if (written < 0) {
            if (errno == EINTR) continue;
            throw CFileException::FromErrno(errno, fullPath);
        }
        // A write that takes nothing would never finish the loop.
        if (written == 0) throw CFileException(CFileException::generic, fullPath);
        next += written;
        left -= static_cast<std::size_t>(written);
    }
    // Some file systems report a failed write only at close.
    if (file.Close() != 0 && errno != EINTR) throw CFileException::FromErrno(errno, fullPath);
}
