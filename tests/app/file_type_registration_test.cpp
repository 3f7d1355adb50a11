#include "app/file_type_registration.h"

#include "support/test_env.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace fs = std::filesystem;

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class FileTypeRegistrationTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dataHome = test_env::TempDir() + "/xdg-" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::remove_all(m_dataHome);
    }
    std::string m_dataHome;
};

TEST_F(FileTypeRegistrationTest, WritesMimePackageAndDesktopEntry) {
    const CFileTypeRegistration registration(m_dataHome, "/opt/tarnwell/bin/tarnwell");
    ASSERT_TRUE(registration.Register());

    const std::string mime = ReadAll(m_dataHome + "/mime/packages/tarnwell.xml");
    EXPECT_NE(mime.find("<mime-type type=\"application/x-tarnwl-document\">"), std::string::npos) << mime;
    EXPECT_NE(mime.find("<comment>Tarnwl Document</comment>"), std::string::npos) << mime;
    EXPECT_NE(mime.find("<glob pattern=\"*.sql\"/>"), std::string::npos) << mime;

    const std::string desktop = ReadAll(m_dataHome + "/applications/Tarnwl.Document.desktop");
    EXPECT_NE(desktop.find("\nExec=/opt/tarnwell/bin/tarnwell %f\n"), std::string::npos) << desktop;
    EXPECT_NE(desktop.find("\nMimeType=application/x-tarnwl-document;\n"), std::string::npos) << desktop;
    EXPECT_NE(desktop.find("\nComment=Tarnwl Document\n"), std::string::npos) << desktop;
}

TEST_F(FileTypeRegistrationTest, InstallsTheIconsInTheHicolorThemeAndNamesThemInTheEntry) {
    CFileTypeRegistration plain(m_dataHome, "/usr/bin/tarnwell");
    EXPECT_EQ(plain.DesktopEntryText().find("Icon="), std::string::npos) << "no icon given, none named";

    CFileTypeRegistration registration(m_dataHome, "/usr/bin/tarnwell");
    registration.AddIcon(16, "png of 16");
    registration.AddIcon(32, "png of 32");
    registration.AddIcon(48, "");  // an icon that could not be drawn is left out
    ASSERT_TRUE(registration.Register());
    EXPECT_EQ(ReadAll(m_dataHome + "/icons/hicolor/16x16/apps/tarnwell.png"), "png of 16");
    EXPECT_EQ(ReadAll(m_dataHome + "/icons/hicolor/32x32/apps/tarnwell.png"), "png of 32");
    EXPECT_FALSE(fs::exists(m_dataHome + "/icons/hicolor/48x48"));
    EXPECT_NE(ReadAll(registration.DesktopEntryPath()).find("\nIcon=tarnwell\n"), std::string::npos);

    // A changed icon is written again, an unchanged one left alone.
    struct stat before {};
    ASSERT_EQ(stat(registration.IconPath(32).c_str(), &before), 0);
    CFileTypeRegistration changed(m_dataHome, "/usr/bin/tarnwell");
    changed.AddIcon(16, "new png of 16");
    changed.AddIcon(32, "png of 32");
    ASSERT_TRUE(changed.Register());
    EXPECT_EQ(ReadAll(changed.IconPath(16)), "new png of 16");
    struct stat after {};
    ASSERT_EQ(stat(changed.IconPath(32).c_str(), &after), 0);
    EXPECT_EQ(before.st_ino, after.st_ino);
}

TEST_F(FileTypeRegistrationTest, QuotesAnExecutablePathWithSpecialCharacters) {
    const CFileTypeRegistration registration(m_dataHome, "/opt/my apps/tar\"n$well 100%");
    EXPECT_NE(registration.DesktopEntryText().find("\nExec=\"/opt/my apps/tar\\\\\"n\\\\$well 100%%\" %f\n"),
              std::string::npos)
        << registration.DesktopEntryText();
}

TEST_F(FileTypeRegistrationTest, LeavesUnchangedFilesAlone) {
    const CFileTypeRegistration registration(m_dataHome, "/usr/bin/tarnwell");
    ASSERT_TRUE(registration.Register());
    struct stat before {};
    ASSERT_EQ(stat(registration.DesktopEntryPath().c_str(), &before), 0);
    ASSERT_TRUE(registration.Register());
    struct stat after {};
    ASSERT_EQ(stat(registration.DesktopEntryPath().c_str(), &after), 0);
    EXPECT_EQ(before.st_ino, after.st_ino);

    // Another program path rewrites the entry.
    ASSERT_TRUE(CFileTypeRegistration(m_dataHome, "/usr/local/bin/tarnwell").Register());
    EXPECT_NE(ReadAll(registration.DesktopEntryPath()).find("Exec=/usr/local/bin/tarnwell %f"), std::string::npos);
}

TEST_F(FileTypeRegistrationTest, RefreshesTheMimeDatabaseWhenTheToolIsThere) {
    if (system("command -v update-mime-database > /dev/null 2>&1") != 0) GTEST_SKIP() << "no update-mime-database";
    ASSERT_TRUE(CFileTypeRegistration(m_dataHome, "/usr/bin/tarnwell").Register());
    const std::string globs = ReadAll(m_dataHome + "/mime/globs2");
    EXPECT_NE(globs.find("application/x-tarnwl-document:*.sql"), std::string::npos) << globs;
}

TEST_F(FileTypeRegistrationTest, FailsQuietlyWhereNothingCanBeWritten) {
    std::ofstream(m_dataHome) << "a file where the folder should be";
    EXPECT_FALSE(CFileTypeRegistration(m_dataHome, "/usr/bin/tarnwell").Register());
    EXPECT_FALSE(CFileTypeRegistration("", "/usr/bin/tarnwell").Register());
}

TEST_F(FileTypeRegistrationTest, DataHomeFollowsXdgDataHome) {
    const char* saved = getenv("XDG_DATA_HOME");
    const std::string restore = saved ? saved : "";
    const char* savedHome = getenv("HOME");
    const std::string restoreHome = savedHome ? savedHome : "";
    setenv("XDG_DATA_HOME", "/srv/data", 1);
    EXPECT_EQ(CFileTypeRegistration::DefaultDataHome(), "/srv/data");
    setenv("XDG_DATA_HOME", "relative/data", 1);
    setenv("HOME", "/home/ann", 1);
    EXPECT_EQ(CFileTypeRegistration::DefaultDataHome(), "/home/ann/.local/share");
    setenv("XDG_DATA_HOME", restore.c_str(), 1);
    setenv("HOME", restoreHome.c_str(), 1);
}

}  // namespace
