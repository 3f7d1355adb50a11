#include "panes/output_file_writer.h"

#include "common/file_exception.h"
#include "panes/file_descriptor.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <system_error>
#include <unistd.h>

std::string COutputFileWriter::FullPath(const std::string& path) {
    if (path.empty()) return path;
    std::error_code error;
    const std::filesystem::path full = std::filesystem::absolute(path, error);
    return error ? path : full.string();
}

void COutputFileWriter::Write(const std::string& path, std::string_view bytes) {
    const std::string fullPath = FullPath(path);
    // 0666 is narrowed by the process's umask, as for any new file.
    CFileDescriptor file(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (!file.IsOpen()) throw CFileException::FromErrno(errno, fullPath, true);

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
