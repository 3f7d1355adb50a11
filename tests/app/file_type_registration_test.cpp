#include "app/file_type_registration.h"

#include "support/test_env.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

using test_env::ReadFile;

ino_t InodeOf(const std::string& path) {
    struct stat status {};
    EXPECT_EQ(stat(path.c_str(), &status), 0) << path;
    return status.st_ino;
}

class FileTypeRegistrationTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dataHome = test_env::TempPath(std::string("xdg-") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dataHome);
    }
    bool Contains(const std::string& path, const std::string& line) {
        return ReadFile(m_dataHome + path).find(line) != std::string::npos;
    }
    std::string m_dataHome;
};

TEST_F(FileTypeRegistrationTest, WritesTheTypeTheEntryAndTheIconsThatChanged) {
    CFileTypeRegistration registration(m_dataHome, "/usr/bin/tarnwell");
    EXPECT_EQ(registration.DesktopEntryText().find("Icon="), std::string::npos) << "no icon given, none named";
    registration.AddIcon(16, "png of 16");
    registration.AddIcon(32, "png of 32");
    registration.AddIcon(48, "");  // an icon that could not be drawn is left out
    ASSERT_TRUE(registration.Register());
    EXPECT_TRUE(Contains("/mime/packages/tarnwell.xml", "<glob pattern=\"*.sql\"/>"));
    const std::string entry = "/applications/Tarnwl.Document.desktop";
    for (const char* line : {"\nExec=/usr/bin/tarnwell %f\n", "\nMimeType=application/x-tarnwl-document;\n",
                             "\nIcon=tarnwell\n"})
        EXPECT_TRUE(Contains(entry, line)) << line;
    for (const int size : {16, 32}) EXPECT_EQ(ReadFile(registration.IconPath(size)), "png of " + std::to_string(size));
    EXPECT_FALSE(fs::exists(m_dataHome + "/icons/hicolor/48x48"));

    // Unchanged files are left alone, changed ones written again.
    const ino_t entryBefore = InodeOf(registration.DesktopEntryPath());
    const ino_t iconBefore = InodeOf(registration.IconPath(32));
    CFileTypeRegistration changed(m_dataHome, "/usr/bin/tarnwell");
    changed.AddIcon(16, "new png of 16");
    changed.AddIcon(32, "png of 32");
    ASSERT_TRUE(changed.Register());
    EXPECT_EQ(ReadFile(changed.IconPath(16)), "new png of 16");
    EXPECT_EQ(InodeOf(changed.IconPath(32)), iconBefore);
    EXPECT_EQ(InodeOf(changed.DesktopEntryPath()), entryBefore);
    ASSERT_TRUE(CFileTypeRegistration(m_dataHome, "/usr/local/bin/tarnwell").Register());
    EXPECT_TRUE(Contains(entry, "\nExec=/usr/local/bin/tarnwell %f\n"));
    // The MIME database is brought up to date where its tool is installed.
    if (std::system("command -v update-mime-database > /dev/null 2>&1") == 0) {
        EXPECT_TRUE(Contains("/mime/globs2", "application/x-tarnwl-document:*.sql"));
    }

    // A path with special characters is quoted in the entry.
    const std::string quoted = CFileTypeRegistration(m_dataHome, "/opt/my apps/tar\"n$well 100%").DesktopEntryText();
    EXPECT_NE(quoted.find("\nExec=\"/opt/my apps/tar\\\\\"n\\\\$well 100%%\" %f\n"), std::string::npos) << quoted;
}

// PREFIX/bin/tarnwell counts as installed when PREFIX/share holds its MIME
// package, as cmake --install and the package put it there.
TEST_F(FileTypeRegistrationTest, AnInstalledProgramIsKnownByItsMimePackageAndUnwritableFoldersFailQuietly) {
    const std::string prefix = m_dataHome + "/usr";
    const std::string executable = prefix + "/bin/tarnwell";
    EXPECT_FALSE(CFileTypeRegistration::IsInstalled(executable)) << "a build folder";
    fs::create_directories(prefix + "/share/mime/packages/tarnwell.xml");
    EXPECT_FALSE(CFileTypeRegistration::IsInstalled(executable)) << "a folder, not the package";
    fs::remove(prefix + "/share/mime/packages/tarnwell.xml");
    ASSERT_TRUE(CFileTypeRegistration(prefix + "/share", executable).Register());
    EXPECT_TRUE(CFileTypeRegistration::IsInstalled(executable));
    EXPECT_FALSE(CFileTypeRegistration::IsInstalled(prefix + "/tarnwell")) << "beside share, not in bin";
    EXPECT_FALSE(CFileTypeRegistration::IsInstalled("tarnwell"));

    // Where nothing can be written, registering fails quietly.
    std::ofstream(m_dataHome + "/file") << "a file where a folder should be";
    EXPECT_FALSE(CFileTypeRegistration(m_dataHome + "/file", "/usr/bin/tarnwell").Register());
    EXPECT_FALSE(CFileTypeRegistration("", "/usr/bin/tarnwell").Register());
}

TEST_F(FileTypeRegistrationTest, DataHomeFollowsXdgDataHome) {
    const std::string savedData = getenv("XDG_DATA_HOME") ? getenv("XDG_DATA_HOME") : "";
    const std::string savedHome = getenv("HOME") ? getenv("HOME") : "";
    setenv("XDG_DATA_HOME", "/srv/data", 1);
    EXPECT_EQ(CFileTypeRegistration::DefaultDataHome(), "/srv/data");
    setenv("XDG_DATA_HOME", "relative/data", 1);
    setenv("HOME", "/home/ann", 1);
    EXPECT_EQ(CFileTypeRegistration::DefaultDataHome(), "/home/ann/.local/share");
    setenv("XDG_DATA_HOME", savedData.c_str(), 1);
    setenv("HOME", savedHome.c_str(), 1);
}

}  // namespace
