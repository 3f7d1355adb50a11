#include "common/file_exception.h"

#include <cerrno>
#include <utility>

namespace {

// Message templates by cause; "%1" stands for the file's name.
const char* Template(CFileException::Cause cause) noexcept {
    switch (cause) {
        case CFileException::fileNotFound: return "%1 was not found.";
        case CFileException::badPath: return "%1 contains an invalid path.";
        case CFileException::tooManyOpenFiles:
            return "%1 could not be opened because there are too many open files.";
        case CFileException::accessDenied: return "Access to %1 was denied.";
        case CFileException::invalidFile: return "An invalid file handle was associated with %1.";
        case CFileException::directoryFull:
            return "%1 could not be created because the directory is full.";
        case CFileException::hardIO: return "A hardware I/O error was reported while accessing %1.";
        case CFileException::sharingViolation: return "A sharing violation occurred while accessing %1.";
        case CFileException::lockViolation: return "A locking violation occurred while accessing %1.";
        case CFileException::diskFull: return "Disk full while accessing %1.";
        case CFileException::generic: break;
    }
    return "An unknown error occurred while accessing %1.";
}

}  // namespace

CFileException::CFileException(Cause cause, std::string fileName, int osError)
    : CException(FormatMessage(cause, fileName)),
      m_cause(cause),
      m_strFileName(std::move(fileName)),
      m_lOsError(osError) {}

CFileException CFileException::FromErrno(int osError, std::string fileName, bool creating) {
    return CFileException(CauseFromErrno(osError, creating), std::move(fileName), osError);
}

CFileException::Cause CFileException::CauseFromErrno(int osError, bool creating) noexcept {
    switch (osError) {
        case ENOENT: return creating ? badPath : fileNotFound;
        case ENOTDIR:
        case ENAMETOOLONG:
        case EISDIR:
        case ELOOP: return badPath;
        case EACCES:
        case EPERM:
        case EROFS: return accessDenied;
        case EMFILE:
        case ENFILE: return tooManyOpenFiles;
        case ENOSPC:
        case EDQUOT: return diskFull;
        case EIO: return hardIO;
        case EBADF: return invalidFile;
        case ETXTBSY:
        case EBUSY: return sharingViolation;
        default: return generic;
    }
}

std::string CFileException::FormatMessage(Cause cause, const std::string& fileName) {
    const std::string name = fileName.empty() ? std::string("an unnamed file") : fileName;
    std::string text = Template(cause);
    const std::string::size_type at = text.find("%1");
    text.replace(at, 2, name);
    return text;
}
