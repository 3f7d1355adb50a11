#pragma once

#include "common/exception.h"

#include <string>

// A failure to open, write or close a file. It carries the cause (mapped from
// the system's errno), the full path of the file and the errno itself; its
// message is the user-facing sentence for the cause, naming the file.
class CFileException : public CException {
public:
    enum Cause {
        generic,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        directoryFull,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
    };

    CFileException(Cause cause, std::string fileName, int osError = 0);

    // The exception for a failed system call on fileName. creating tells that
    // the call would have created the file (O_CREAT): then a missing entry
    // can only be a missing folder on the way, which is a bad path.
    static CFileException FromErrno(int osError, std::string fileName, bool creating = false);

    static Cause CauseFromErrno(int osError, bool creating = false) noexcept;

    // The message for cause, with the file named by fileName ("an unnamed
    // file" when it is empty).
    static std::string FormatMessage(Cause cause, const std::string& fileName);

    Cause GetCause() const noexcept { return m_cause; }
    const std::string& GetFileName() const noexcept { return m_strFileName; }
    int GetOsError() const noexcept { return m_lOsError; }

private:
    Cause m_cause;
    std::string m_strFileName;
    int m_lOsError;
};
