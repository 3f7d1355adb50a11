// Save Output's file: the extension a typed name gets, exactly the pane's
// bytes, replacing what was there, and failures named in the message with
// nothing written.
#include "common/file_descriptor.h"
#include "common/file_exception.h"
#include "panes/default_extension.h"
#include "panes/output_file_writer.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>

#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

std::string ReadFile(const fs::path& path) { return test_env::ReadFile(path.string()); }

// The test's own folder.
fs::path Folder() {
    const fs::path dir = test_env::TempPath(::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir);
    return dir;
}

// The message of writing path, which must fail.
std::string Failure(const fs::path& path) {
    try {
        COutputFileWriter::Write(path.string(), "text");
    } catch (const CFileException& failure) {
        return failure.Message();
    }
    ADD_FAILURE() << "writing " << path << " succeeded";
    return {};
}

// A write lock on the whole file (l_whence SEEK_SET, l_start and l_len 0).
int WriteLock(int fd, int command) {
    struct flock whole = {};
    whole.l_type = F_WRLCK;
    return ::fcntl(fd, command, &whole);
}

TEST(DefaultExtension, IsAddedOnlyToANameWithoutExtension) {
    const std::pair<const char*, const char*> cases[] = {
        {"result", "result.txt"}, {"/home/u/result", "/home/u/result.txt"},
        {"/home/u/result.txt", "/home/u/result.txt"}, {"/home/u/archive.tar.gz", "/home/u/archive.tar.gz"},
        {"/home/u/result.", "/home/u/result."}, {"/home/u.d/result", "/home/u.d/result.txt"},
        {"/home/u/.profile", "/home/u/.profile.txt"}, {"/home/u/", "/home/u/"}, {"", ""},
    };
    for (const auto& [typed, written] : cases) EXPECT_EQ(default_extension::Add(typed, "txt"), written) << typed;
}

TEST(OutputFileWriterTest, WritesExactlyTheBytesOverWhatWasThere) {
    const fs::path path = Folder() / "out.txt";
    test_env::WriteFile(path.string(), std::string(4 * 1024 * 1024, '#'));
    // Each is shorter than the one before: nothing of an earlier file stays.
    for (const std::string& bytes : {std::string(3 * 1024 * 1024 + 17, 'x'),
                                     "bytes \x80\xFF\xC3\xA9 and a NUL \0 inside, no final line end"s,
                                     "SQL> select 1\r\n\r\n1\r\n-\r\n1\r\n\r\n1 row(s) selected\r\n"s,
                                     ""s}) {  // the last: an empty pane, an empty file
        SCOPED_TRACE(bytes.size());
        COutputFileWriter::Write(path.string(), bytes);
        EXPECT_EQ(fs::file_size(path), bytes.size());
        EXPECT_EQ(ReadFile(path), bytes);
    }
}

TEST(OutputFileWriterTest, FailuresAreNamedInFullAndWriteNothing) {
    const fs::path dir = Folder();
    const fs::path plain = test_env::WriteFile((dir / "plain").string(), "x");
    // No message: the path, from the working folder, "contains an invalid path"; needs: a path the
    // system must have for the case.
    const struct { fs::path path; std::string message{}; const char* needs = nullptr; } cases[] = {
        {dir / "missing/out.txt"}, {"relative/out.txt"}, {plain / "out.txt"}, {dir}, {dir / "%1/out.txt"},
        {"", "an unnamed file contains an invalid path."},
        // Nobody may create files in sysfs, not even root: a read-only target.
        {"/sys/tarnwell_output.txt", "Access to /sys/tarnwell_output.txt was denied.", "/sys/kernel"},
        {"/dev/full", "Disk full while accessing /dev/full.", "/dev/full"},
    };
    const fs::path previous = fs::current_path();
    fs::current_path(dir);
    for (const auto& c : cases) {
        if (c.needs == nullptr || fs::exists(c.needs)) {
            const std::string invalid = (dir / c.path).string() + " contains an invalid path.";
            EXPECT_EQ(Failure(c.path), c.message.empty() ? invalid : c.message) << c.path;
        }
    }
    fs::current_path(previous);
    for (const fs::path& made : {dir / "missing", dir / "relative", fs::path("/sys/tarnwell_output.txt")})
        EXPECT_FALSE(fs::exists(made)) << made;
    EXPECT_EQ(ReadFile(plain), "x");
}

TEST(OutputFileWriterTest, AFileLockedElsewhereIsASharingViolationAndKeepsItsContent) {
    // Each way another program may hold a file for itself, on a descriptor of
    // its own as another process would hold it.
    const std::pair<const char*, int (*)(int)> cases[] = {
        {"flock", [](int fd) { return ::flock(fd, LOCK_EX | LOCK_NB); }},
        {"shared flock", [](int fd) { return ::flock(fd, LOCK_SH | LOCK_NB); }},
        {"record lock", [](int fd) { return WriteLock(fd, F_SETLK); }},
        {"open file description lock", [](int fd) { return WriteLock(fd, F_OFD_SETLK); }},
    };
    const fs::path path = Folder() / "held.txt";
    for (const auto& [name, lock] : cases) {
        SCOPED_TRACE(name);
        test_env::WriteFile(path.string(), "held elsewhere");
        CFileDescriptor other(::open(path.c_str(), O_RDWR | O_CLOEXEC));
        ASSERT_TRUE(other.IsOpen());
        ASSERT_EQ(lock(other.Get()), 0);
        EXPECT_EQ(Failure(path), "A sharing violation occurred while accessing " + path.string() + ".");
        other.Close();
        EXPECT_EQ(ReadFile(path), "held elsewhere");
        // Once the other program lets go, the file is replaced.
        COutputFileWriter::Write(path.string(), "replacement");
        EXPECT_EQ(ReadFile(path), "replacement");
    }
}

}  // namespace
