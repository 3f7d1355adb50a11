#include "common/file_exception.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <utility>

namespace {

using Cause = CFileException::Cause;

TEST(FileException, ErrnoChoosesTheCause) {
    struct Case {
        int osError;
        bool creating;
        Cause cause;
    };
    const Case cases[] = {
        {ENOENT, false, CFileException::fileNotFound},      {ENOENT, true, CFileException::badPath},
        {ENOTDIR, true, CFileException::badPath},           {ENAMETOOLONG, true, CFileException::badPath},
        {EISDIR, true, CFileException::badPath},            {EMFILE, true, CFileException::tooManyOpenFiles},
        {ENFILE, true, CFileException::tooManyOpenFiles},   {EACCES, true, CFileException::accessDenied},
        {EPERM, true, CFileException::accessDenied},        {EROFS, true, CFileException::accessDenied},
        {EBADF, false, CFileException::invalidFile},        {EIO, false, CFileException::hardIO},
        {ETXTBSY, true, CFileException::sharingViolation},  {EBUSY, true, CFileException::sharingViolation},
        {ENOSPC, false, CFileException::diskFull},          {EDQUOT, false, CFileException::diskFull},
        {EINVAL, false, CFileException::generic},           {0, false, CFileException::generic},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.osError);
        const CFileException failure = CFileException::FromErrno(c.osError, "/data/out.txt", c.creating);
        EXPECT_EQ(failure.GetCause(), c.cause);
        EXPECT_EQ(failure.GetOsError(), c.osError);
        EXPECT_EQ(failure.GetFileName(), "/data/out.txt");
    }
}

TEST(FileException, EachCauseHasItsMessageNamingTheFile) {
    const std::pair<Cause, const char*> cases[] = {
        {CFileException::generic, "An unknown error occurred while accessing /d/f."},
        {CFileException::fileNotFound, "/d/f was not found."},
        {CFileException::badPath, "/d/f contains an invalid path."},
        {CFileException::tooManyOpenFiles, "/d/f could not be opened because there are too many open files."},
        {CFileException::accessDenied, "Access to /d/f was denied."},
        {CFileException::invalidFile, "An invalid file handle was associated with /d/f."},
        {CFileException::directoryFull, "/d/f could not be created because the directory is full."},
        {CFileException::hardIO, "A hardware I/O error was reported while accessing /d/f."},
        {CFileException::sharingViolation, "A sharing violation occurred while accessing /d/f."},
        {CFileException::lockViolation, "A locking violation occurred while accessing /d/f."},
        {CFileException::diskFull, "Disk full while accessing /d/f."},
    };
    for (const auto& [cause, message] : cases) {
        EXPECT_EQ(CFileException(cause, "/d/f").Message(), message);
    }
}

TEST(FileException, AFileWithoutANameIsAnUnnamedFile) {
    EXPECT_EQ(CFileException(CFileException::accessDenied, "").Message(), "Access to an unnamed file was denied.");
    EXPECT_EQ(CFileException(CFileException::fileNotFound, "").Message(), "an unnamed file was not found.");
}

TEST(FileException, ANameHoldingPercentOneIsNotExpandedAgain) {
    EXPECT_EQ(CFileException(CFileException::diskFull, "/tmp/%1.txt").Message(),
              "Disk full while accessing /tmp/%1.txt.");
}

}  // namespace
