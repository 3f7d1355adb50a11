// Script files read and written whole: every byte, nothing added, and a save
// that fails leaves the old file as it was.
#include "common/file_exception.h"
#include "script/script_file.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace std::string_literals;
namespace fs = std::filesystem;

namespace {

using test_env::ReadFile;
using test_env::TempPath;

long EntriesIn(const std::string& dir) { return std::distance(fs::directory_iterator(dir), fs::directory_iterator()); }

// Files may grow to at most limit bytes while it lives.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t limit) {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit reduced = m_old;
        reduced.rlim_cur = limit;
        setrlimit(RLIMIT_FSIZE, &reduced);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int);
};

}  // namespace

TEST(ScriptFileTest, WritesAndReadsEveryByte) {
    const std::string cases[] = {"", "select 1;\r\nselect 2;\r\n", "\xEF\xBB\xBFkept as it is", "\x80\xFF\xC3(\xE2\x82",
                                 "before\0after\0"s, std::string(300'000, '\0') + "tail"};
    const std::string path = TempPath("bytes.sql");
    for (const std::string& bytes : cases) {
        SCOPED_TRACE(bytes.size());
        CScriptFile::Write(path, bytes);
        EXPECT_EQ(fs::file_size(path), bytes.size());
        EXPECT_TRUE(CScriptFile::Read(path) == bytes);
    }
}

TEST(ScriptFileTest, ReplacingKeepsPermissionsAndLinks) {
    const std::string folder = TempPath("links");
    fs::create_directory(folder);
    const std::string file = folder + "/script.sql";
    CScriptFile::Write(file, "a much longer old text");
    ASSERT_EQ(::chmod(file.c_str(), 0640), 0);

    // Through a symbolic link: the link stays, the file it names changes.
    const std::string link = folder + "/link.sql";
    fs::create_symlink(file, link);
    CScriptFile::Write(link, "new");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadFile(file), "new");
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all, fs::perms(0640));

    // A second hard link sees the new text as well.
    const std::string hardLink = folder + "/hard.sql";
    fs::create_hard_link(file, hardLink);
    CScriptFile::Write(file, "newer");
    EXPECT_EQ(ReadFile(hardLink), "newer");

    // A link to a file that does not exist yet creates that file.
    const std::string dangling = folder + "/dangling.sql";
    fs::create_symlink(folder + "/later.sql", dangling);
    CScriptFile::Write(dangling, "later");
    EXPECT_TRUE(fs::is_symlink(dangling));
    EXPECT_EQ(ReadFile(folder + "/later.sql"), "later");

    EXPECT_EQ(EntriesIn(folder), 5);  // no temporary file left
}

TEST(ScriptFileTest, AFailedSaveLeavesTheOldFileWhole) {
    const std::string folder = TempPath("full");
    fs::create_directory(folder);
    const std::string file = folder + "/script.sql";
    CScriptFile::Write(file, "old text");
    try {
        FileSizeLimit limit(100);
        CScriptFile::Write(file, std::string(1000, 'x'));
        FAIL() << "the save should have failed";
    } catch (const CFileException& failure) {
        EXPECT_EQ(failure.GetFileName(), file);
    }
    EXPECT_EQ(ReadFile(file), "old text");
    EXPECT_EQ(EntriesIn(folder), 1);
}

TEST(ScriptFileTest, FailuresNameTheFile) {
    const struct { const char* name; std::string path; bool write; CFileException::Cause cause; } cases[] = {
        {"missing file", TempPath("missing.sql"), false, CFileException::fileNotFound},
        {"missing folder", TempPath("missing/new.sql"), true, CFileException::badPath},
        {"folder read as a file", test_env::TempDir(), false, CFileException::badPath},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        try {
            test.write ? CScriptFile::Write(test.path, "x") : void(CScriptFile::Read(test.path));
            ADD_FAILURE() << "no failure";
        } catch (const CFileException& failure) {
            EXPECT_EQ(failure.GetCause(), test.cause);
            EXPECT_NE(failure.Message().find(test.path), std::string::npos) << failure.Message();
        }
    }
    EXPECT_FALSE(fs::exists(TempPath("missing")));
}
