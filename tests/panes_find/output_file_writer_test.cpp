// Save Output's file writing: exactly the pane's bytes, replacing what was
// there, and failures named in the message with nothing written.
#include "common/file_exception.h"
#include "panes/output_file_writer.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class OutputFileWriterTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = fs::path(test_env::TempDir()) / ("writer_"s + test->name());
        fs::create_directories(dir);
    }

    // The message of writing path, which must fail.
    static std::string Failure(const std::string& path) {
        try {
            COutputFileWriter::Write(path, "text");
        } catch (const CFileException& failure) {
            return failure.Message();
        }
        ADD_FAILURE() << "writing " << path << " succeeded";
        return {};
    }

    fs::path dir;
};

TEST_F(OutputFileWriterTest, WritesExactlyTheBytesOverWhatWasThere) {
    const fs::path path = dir / "out.txt";
    std::ofstream(path, std::ios::binary) << std::string(4 * 1024 * 1024, '#');
    // Each is shorter than the one before: nothing of an earlier file stays.
    const std::string cases[] = {
        std::string(3 * 1024 * 1024 + 17, 'x'),
        "bytes \x80\xFF\xC3\xA9 and a NUL \0 inside, no final line end"s,
        "SQL> select 1\r\n\r\n1\r\n-\r\n1\r\n\r\n1 row(s) selected\r\n",
        "",  // an empty pane: an empty file
    };
    for (const std::string& bytes : cases) {
        SCOPED_TRACE(bytes.size());
        COutputFileWriter::Write(path.string(), bytes);
        EXPECT_EQ(fs::file_size(path), bytes.size());
        EXPECT_EQ(ReadFile(path), bytes);
    }
}

TEST_F(OutputFileWriterTest, FailuresAreNamedInFullAndWriteNothing) {
    const fs::path plain = dir / "plain";
    std::ofstream(plain) << "x";
    const std::string invalid = " contains an invalid path.";
    struct Case {
        std::string path;
        std::string message;
        const char* needs = nullptr;  // a path the system must have for the case
    };
    const Case cases[] = {
        {(dir / "missing/out.txt").string(), (dir / "missing/out.txt").string() + invalid},
        {"relative/out.txt", (dir / "relative/out.txt").string() + invalid},
        {(plain / "out.txt").string(), (plain / "out.txt").string() + invalid},
        {dir.string(), dir.string() + invalid},
        {"", "an unnamed file" + invalid},
        {(dir / "%1/out.txt").string(), (dir / "%1/out.txt").string() + invalid},
        // Nobody may create files in sysfs, not even root: a read-only target.
        {"/sys/tarnwell_output.txt", "Access to /sys/tarnwell_output.txt was denied.", "/sys/kernel"},
        {"/dev/full", "Disk full while accessing /dev/full.", "/dev/full"},
    };
    const fs::path previous = fs::current_path();
    fs::current_path(dir);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        if (c.needs == nullptr || fs::exists(c.needs)) {
            EXPECT_EQ(Failure(c.path), c.message);
        }
    }
    fs::current_path(previous);
    EXPECT_FALSE(fs::exists(dir / "missing"));
    EXPECT_FALSE(fs::exists(dir / "relative"));
    EXPECT_FALSE(fs::exists("/sys/tarnwell_output.txt"));
    EXPECT_EQ(ReadFile(plain), "x");
}

TEST_F(OutputFileWriterTest, AFileLockedElsewhereIsASharingViolationAndKeepsItsContent) {
    // Each way another program may hold a file for itself, on a descriptor of
    // its own as another process would hold it.
    const auto recordLock = [](int command) {
        return [command](int fd) {
            struct flock whole = {};
            whole.l_type = F_WRLCK;
            whole.l_whence = SEEK_SET;
            return ::fcntl(fd, command, &whole);
        };
    };
    const std::pair<const char*, std::function<int(int fd)>> cases[] = {
        {"flock", [](int fd) { return ::flock(fd, LOCK_EX | LOCK_NB); }},
        {"shared flock", [](int fd) { return ::flock(fd, LOCK_SH | LOCK_NB); }},
        {"record lock", recordLock(F_SETLK)},
        {"open file description lock", recordLock(F_OFD_SETLK)},
    };
    const fs::path path = dir / "held.txt";
    for (const auto& [name, lock] : cases) {
        SCOPED_TRACE(name);
        std::ofstream(path, std::ios::binary) << "held elsewhere";
        const int other = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
        ASSERT_GE(other, 0);
        ASSERT_EQ(lock(other), 0);
        EXPECT_EQ(Failure(path.string()), "A sharing violation occurred while accessing " + path.string() + ".");
        ::close(other);
        EXPECT_EQ(ReadFile(path), "held elsewhere");
        // Once the other program lets go, the file is replaced.
        COutputFileWriter::Write(path.string(), "replacement");
        EXPECT_EQ(ReadFile(path), "replacement");
    }
}

}  // namespace
