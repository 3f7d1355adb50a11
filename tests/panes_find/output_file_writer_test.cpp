#include "common/file_exception.h"
#include "panes/output_file_writer.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sys/file.h>
#include <unistd.h>
#include <iterator>
#include <string>

namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class OutputFileWriterTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = fs::path(test_env::TempDir()) / (std::string("writer_") + info->name());
        fs::create_directories(dir);
    }

    // The failure of writing path, which must fail.
    CFileException Failure(const std::string& path, std::string_view bytes = "text") {
        try {
            COutputFileWriter::Write(path, bytes);
        } catch (const CFileException& failure) {
            return failure;
        }
        ADD_FAILURE() << "writing " << path << " succeeded";
        return CFileException(CFileException::generic, path);
    }

    fs::path dir;
};

TEST_F(OutputFileWriterTest, WritesExactlyTheBytes) {
    static const char kBinary[] = "bytes \x80\xFF\xC3\xA9 and a NUL \0 inside, no final line end";
    const std::string cases[] = {
        "",
        "SQL> select 1\r\n\r\n1\r\n-\r\n1\r\n\r\n1 row(s) selected\r\n",
        std::string(kBinary, sizeof kBinary - 1),
        std::string(3 * 1024 * 1024 + 17, 'x'),
    };
    for (const std::string& bytes : cases) {
        SCOPED_TRACE(bytes.size());
        const fs::path path = dir / "out.txt";
        COutputFileWriter::Write(path.string(), bytes);
        EXPECT_EQ(fs::file_size(path), bytes.size());
        EXPECT_EQ(ReadFile(path), bytes);
    }
}

TEST_F(OutputFileWriterTest, ReplacesAnExistingFileEntirely) {
    const fs::path path = dir / "existing.txt";
    std::ofstream(path, std::ios::binary) << "a much longer earlier content\r\n";
    COutputFileWriter::Write(path.string(), "short");
    EXPECT_EQ(ReadFile(path), "short");
    COutputFileWriter::Write(path.string(), "");
    EXPECT_EQ(fs::file_size(path), 0u);
}

TEST_F(OutputFileWriterTest, OpenFailuresNameTheFileAndCreateNothing) {
    const fs::path regular = dir / "plain";
    std::ofstream(regular) << "x";
    struct Case {
        const char* name;
        std::string path;
        CFileException::Cause cause;
    };
    const Case cases[] = {
        {"missing folder", (dir / "missing" / "out.txt").string(), CFileException::badPath},
        {"parent is a file", (regular / "out.txt").string(), CFileException::badPath},
        {"a folder", dir.string(), CFileException::badPath},
        {"empty name", "", CFileException::badPath},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CFileException failure = Failure(c.path);
        EXPECT_EQ(failure.GetCause(), c.cause);
        EXPECT_EQ(failure.GetFileName(), c.path);
    }
    EXPECT_FALSE(fs::exists(dir / "missing"));
    EXPECT_EQ(ReadFile(regular), "x");
    EXPECT_EQ(Failure("").Message(), "an unnamed file contains an invalid path.");
}

TEST_F(OutputFileWriterTest, ARelativePathIsNamedInFull) {
    const fs::path previous = fs::current_path();
    fs::current_path(dir);
    const CFileException failure = Failure("missing/out.txt");
    fs::current_path(previous);
    EXPECT_EQ(failure.GetFileName(), (dir / "missing/out.txt").string());
    EXPECT_EQ(failure.Message(), (dir / "missing/out.txt").string() + " contains an invalid path.");
}

TEST_F(OutputFileWriterTest, AFileTheSystemRefusesIsAccessDenied) {
    // sysfs lets nobody create files, not even root (EACCES, or EROFS where
    // it is mounted read-only).
    if (!fs::exists("/sys/kernel")) GTEST_SKIP() << "no sysfs";
    const CFileException failure = Failure("/sys/tarnwell_output.txt");
    EXPECT_EQ(failure.GetCause(), CFileException::accessDenied);
    EXPECT_EQ(failure.Message(), "Access to /sys/tarnwell_output.txt was denied.");
}

TEST_F(OutputFileWriterTest, AFailedWriteIsDiskFull) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    const CFileException failure = Failure("/dev/full");
    EXPECT_EQ(failure.GetCause(), CFileException::diskFull);
    EXPECT_EQ(failure.Message(), "Disk full while accessing /dev/full.");
}

TEST_F(OutputFileWriterTest, AFileLockedElsewhereIsASharingViolationAndKeepsItsContent) {
    // Each way another program may hold a file for itself: the lock is taken
    // on a descriptor of its own, as another process would hold it.
    struct Case {
        const char* name;
        std::function<int(int fd)> lock;
    };
    const auto recordLock = [](int command) {
        return [command](int fd) {
            struct flock whole = {};
            whole.l_type = F_WRLCK;
            whole.l_whence = SEEK_SET;
            return ::fcntl(fd, command, &whole);
        };
    };
    const Case cases[] = {
        {"flock", [](int fd) { return ::flock(fd, LOCK_EX | LOCK_NB); }},
        {"shared flock", [](int fd) { return ::flock(fd, LOCK_SH | LOCK_NB); }},
        {"record lock", recordLock(F_SETLK)},
        {"open file description lock", recordLock(F_OFD_SETLK)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path path = dir / "held.txt";
        std::ofstream(path, std::ios::binary) << "held elsewhere";
        const int other = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
        ASSERT_GE(other, 0);
        ASSERT_EQ(c.lock(other), 0);
        const CFileException failure = Failure(path.string(), "replacement");
        ::close(other);
        EXPECT_EQ(failure.GetCause(), CFileException::sharingViolation);
        EXPECT_EQ(failure.Message(), "A sharing violation occurred while accessing " + path.string() + ".");
        EXPECT_EQ(ReadFile(path), "held elsewhere");

        // Once the other program lets go, the file is replaced.
        COutputFileWriter::Write(path.string(), "replacement");
        EXPECT_EQ(ReadFile(path), "replacement");
    }
}

}  // namespace
