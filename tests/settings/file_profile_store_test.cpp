#include "settings/file_profile_store.h"
#include "settings/settings_record.h"
#include "support/default_settings.h"
#include "support/test_env.h"

#include <gtest/gtest.h>
#include <wx/confbase.h>

#include <climits>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <vector>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// A fresh folder for one test; the store's file inside it.
std::string Folder() {
    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    const fs::path folder = fs::path(test_env::TempDir()) / "stores" / info->name();
    fs::create_directories(folder);
    return folder.string();
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    return names;
}

CSettingsRecord LoadRecord(const std::string& path) {
    CFileProfileStore store(path);
    CSettingsRecord record;
    record.Load(store);
    return record;
}

class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : m_name(name) {
        if (const char* old = std::getenv(name)) m_old = old;
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ~ScopedEnv() { m_old ? setenv(m_name, m_old->c_str(), 1) : unsetenv(m_name); }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

TEST(FileProfileStore, DefaultPathFollowsXdgConfigHome) {
    const std::string configHome = std::getenv("XDG_CONFIG_HOME");
    EXPECT_EQ(configHome.rfind(test_env::TempDir(), 0), 0u) << "tests must not use the user's folder";
    EXPECT_EQ(CFileProfileStore::DefaultPath(), configHome + "/Tarnwell/Tarnwell.conf");

    ScopedEnv home("HOME", "/home/someone");
    for (const char* unusable : {static_cast<const char*>(nullptr), "", "relative/config"}) {
        ScopedEnv xdg("XDG_CONFIG_HOME", unusable);
        EXPECT_EQ(CFileProfileStore::DefaultPath(), "/home/someone/.config/Tarnwell/Tarnwell.conf");
    }
}

TEST(FileProfileStore, SettingsLandUnderXdgConfigHomeAndComeBack) {
    const std::string path = CFileProfileStore::DefaultPath();
    {
        CFileProfileStore store;
        CSettingsRecord record;
        record.Load(store);
        record.FontCharset = 5;
        record.MaxColLen = 40;
        record.Save(store);
    }  // written when the store goes
    ASSERT_TRUE(fs::exists(path));
    const std::string text = ReadFile(path);
    EXPECT_NE(text.find("[Settings]"), std::string::npos) << text;
    EXPECT_NE(text.find("FontCharset=5"), std::string::npos) << text;
    EXPECT_NE(text.find("FontSize=-15"), std::string::npos) << text;

    const CSettingsRecord again = LoadRecord(path);
    EXPECT_EQ(again.MaxColLen, 40);
    EXPECT_EQ(again.FontCharset, 5);
    EXPECT_EQ(again.m_logFont.lfCharSet, 129);
    EXPECT_EQ(again.m_logFont.lfHeight, -15);
}

TEST(FileProfileStore, ValuesComeBackByteForByte) {
    const std::string path = Folder() + "/p.conf";
    const std::vector<std::string> strings = {
        "", " leading", "trailing ", "\"quoted\"", "a;b#c=d [x]", "back\\slash", "tab\tcr\rlf\n",
        "\xE6\x97\xA5\xE6\x9C\xAC", "\xFF\xFE not UTF-8 \xC3", "$HOME ${USER} %s"};
    const std::vector<int> ints = {0, -15, 40, INT_MAX, INT_MIN};
    {
        CFileProfileStore store(path);
        for (std::size_t i = 0; i < strings.size(); ++i) store.WriteProfileString("Settings", "S" + std::to_string(i), strings[i]);
        for (std::size_t i = 0; i < ints.size(); ++i) store.WriteProfileInt("Settings", "I" + std::to_string(i), ints[i]);
        EXPECT_TRUE(store.Flush());
    }
    CFileProfileStore store(path);
    for (std::size_t i = 0; i < strings.size(); ++i)
        EXPECT_EQ(store.GetProfileString("Settings", "S" + std::to_string(i), "default"), strings[i]) << i;
    for (std::size_t i = 0; i < ints.size(); ++i)
        EXPECT_EQ(store.GetProfileInt("Settings", "I" + std::to_string(i), 77), ints[i]) << i;
    EXPECT_EQ(store.GetProfileString("Settings", "Missing", "default"), "default");
    EXPECT_EQ(store.GetProfileString("Other", "S1", "default"), "default");
}

TEST(FileProfileStore, AStoredValueThatIsNotAnIntegerYieldsTheDefault) {
    const std::string path = Folder() + "/p.conf";
    WriteFile(path, "[Settings]\nA=abc\nB=12abc\nC=99999999999\nD= 42 \nE=\nF=0x10\nG=+7\nH=-15\nI=1.5\n");
    CFileProfileStore store(path);
    const std::pair<const char*, int> cases[] = {{"A", 9}, {"B", 9}, {"C", 9}, {"D", 42}, {"E", 9},
                                                 {"F", 9}, {"G", 7}, {"H", -15}, {"I", 9}};
    for (const auto& [key, expected] : cases) EXPECT_EQ(store.GetProfileInt("Settings", key, 9), expected) << key;
}

int g_assertions = 0;

void CountAssertion(const wxString&, int, const wxString&, const wxString&, const wxString&) { ++g_assertions; }

TEST(FileProfileStore, CorruptFilesYieldDefaults) {
    // In the window a debug assertion would come up as a dialog.
    const wxAssertHandler_t previous = wxSetAssertHandler(CountAssertion);
    g_assertions = 0;
    std::string noise(4096, '\0');
    unsigned seed = 1;
    for (char& c : noise) c = static_cast<char>((seed = seed * 1103515245u + 12345u) >> 16);
    const std::string cases[] = {
        noise,
        "[Settings",
        std::string("[Settings]\0MaxColLen=40\n", 24),
        "======\n=x\n[]\n[[[\n\\\n",
        "\xFF\xFE[\0S\0e\0t\0",
        "MaxColLen=40\n",  // outside the group
    };
    for (const std::string& bytes : cases) {
        const std::string path = Folder() + "/p.conf";
        WriteFile(path, bytes);
        ExpectSameSettings(LoadRecord(path), DefaultSettings());
    }
    wxSetAssertHandler(previous);
    EXPECT_EQ(g_assertions, 0);
}

TEST(FileProfileStore, DamagedLinesDoNotHideTheGoodOnes) {
    const std::string path = Folder() + "/p.conf";
    WriteFile(path, "\xEF\xBB\xBF[Settings]\r\nnonsense\r\n\xFF\xFE=\r\nMaxColLen=40\r\n[Recent File List\r\n");
    EXPECT_EQ(LoadRecord(path).MaxColLen, 40);
}

TEST(FileProfileStore, AFileThatCannotBeReadYieldsDefaultsAndIsLeftAlone) {
    const std::string folder = Folder();
    const std::string directory = folder + "/dir.conf";  // unreadable even for root
    fs::create_directories(directory + "/inside");
    {
        CFileProfileStore store(directory);
        ExpectSameSettings(LoadRecord(directory), DefaultSettings());
        store.WriteProfileInt("Settings", "MaxColLen", 40);
        EXPECT_FALSE(store.Flush());
    }
    EXPECT_TRUE(fs::is_directory(directory + "/inside"));

    if (geteuid() == 0) GTEST_SKIP() << "root reads files without read permission";
    const std::string locked = folder + "/locked.conf";
    WriteFile(locked, "[Settings]\nMaxColLen=40\n");
    fs::permissions(locked, fs::perms::none);
    {
        CFileProfileStore store(locked);
        EXPECT_EQ(store.GetProfileInt("Settings", "MaxColLen", 100), 100);
        EXPECT_FALSE(store.Flush());
    }
    fs::permissions(locked, fs::perms::owner_read);
    EXPECT_EQ(ReadFile(locked), "[Settings]\nMaxColLen=40\n");
}

TEST(FileProfileStore, AnUnwritableFolderIsTolerated) {
    const std::string blocker = Folder() + "/file";
    WriteFile(blocker, "not a folder");
    const std::string path = blocker + "/Tarnwell/Tarnwell.conf";
    CFileProfileStore store(path);
    CSettingsRecord record;
    record.Load(store);
    record.Save(store);
    EXPECT_FALSE(store.Flush());
    EXPECT_EQ(ReadFile(blocker), "not a folder");
}

TEST(FileProfileStore, WritingReplacesTheFileWholeAndLeavesNothingBehind) {
    const std::string folder = Folder();
    const std::string path = folder + "/p.conf";
    const std::string old = "[Settings]\nMaxColLen=40\n";
    WriteFile(path, old);
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    // A write cut short (here by the file-size limit) leaves the old file as it was.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{64, 64};
        setrlimit(RLIMIT_FSIZE, &limit);
        CFileProfileStore store(path);
        store.WriteProfileString("Settings", "SpoolFile", std::string(10000, 'x'));
        const bool written = store.Flush();
        _exit(written ? 1 : 0);  // the destructor's write would fail the same way
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the cut-short write was reported as done";
    EXPECT_EQ(ReadFile(path), old);
    EXPECT_EQ(FolderEntries(folder), std::vector<std::string>{"p.conf"});

    {
        CFileProfileStore store(path);
        store.WriteProfileInt("Settings", "MaxColLen", 50);
        EXPECT_TRUE(store.Flush());
    }
    EXPECT_EQ(CFileProfileStore(path).GetProfileInt("Settings", "MaxColLen", 0), 50);
    EXPECT_EQ(FolderEntries(folder), std::vector<std::string>{"p.conf"});
    EXPECT_EQ(fs::status(path).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST(FileProfileStore, ASymbolicLinkKeepsPointingAtTheFile) {
    const std::string folder = Folder();
    WriteFile(folder + "/real.conf", "");
    fs::create_symlink("real.conf", folder + "/link.conf");
    {
        CFileProfileStore store(folder + "/link.conf");
        store.WriteProfileInt("Settings", "MaxColLen", 41);
    }
    EXPECT_TRUE(fs::is_symlink(folder + "/link.conf"));
    EXPECT_EQ(CFileProfileStore(folder + "/real.conf").GetProfileInt("Settings", "MaxColLen", 0), 41);
}

TEST(FileProfileStore, TheRecentFileListSharesTheFile) {
    const std::string path = Folder() + "/p.conf";
    {
        CFileProfileStore store(path);
        store.WriteProfileInt("Settings", "MaxColLen", 40);
        wxConfigBase& config = store.Config();
        config.SetPath(CFileProfileStore::kRecentFileGroup);
        config.Write("File1", wxString::FromUTF8("/tmp/\xE6\x97\xA5 a.sql"));
        config.SetPath("/");
    }
    CFileProfileStore store(path);
    EXPECT_EQ(store.GetProfileString("Recent File List", "File1", ""), "/tmp/\xE6\x97\xA5 a.sql");
    EXPECT_EQ(store.GetProfileInt("Settings", "MaxColLen", 0), 40);

    // The file is plain INI text; a hand-written group header reads the same.
    const std::string handWritten = Folder() + "/hand.conf";
    WriteFile(handWritten, "[Recent File List]\nFile1=/tmp/b.sql\n[Settings]\nMaxColLen=41\n");
    CFileProfileStore edited(handWritten);
    EXPECT_EQ(edited.GetProfileString("Recent File List", "File1", ""), "/tmp/b.sql");
    EXPECT_EQ(edited.GetProfileInt("Settings", "MaxColLen", 0), 41);
}

}  // namespace
