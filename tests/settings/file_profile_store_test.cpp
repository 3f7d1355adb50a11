#include "settings/file_profile_store.h"
#include "settings/font_description.h"
#include "settings/settings_record.h"
#include "support/default_settings.h"
#include "support/test_env.h"

#include <gtest/gtest.h>
#include <wx/confbase.h>
#include <wx/fileconf.h>
#include <wx/mstream.h>
#include <wx/strconv.h>

#include <climits>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <random>
#include <sstream>
#include <vector>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using test_env::ReadFile;
using test_env::WriteFile;

namespace {

// A fresh folder for one test.
std::string Folder() {
    const std::string folder = test_env::TempPath(testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(folder);
    return folder;
}

long FilesIn(const std::string& folder) { return std::distance(fs::directory_iterator(folder), {}); }

CSettingsRecord LoadRecord(const std::string& path) {
    CFileProfileStore store(path);
    CSettingsRecord record;
    record.Load(store);
    return record;
}

bool SaveRecord(const CSettingsRecord& record, const std::string& path) {
    CFileProfileStore store(path);
    record.Save(store);
    return store.Flush();
}

int g_assertions = 0;

// Each case: the file's bytes, and how the loaded settings differ from the
// defaults. A damaged file reads as far as it goes, without a debug
// assertion (the window would show it in a dialog). Saved to another file
// and loaded again, the settings stay the same.
TEST(SettingsStore, LoadsWhatTheFileHoldsElseTheDefaults) {
    const wxAssertHandler_t previous = wxSetAssertHandler(
        [](const wxString&, int, const wxString&, const wxString&, const wxString&) { ++g_assertions; });
    std::string noise(4096, '\0');
    unsigned seed = 1;
    for (char& c : noise) c = static_cast<char>((seed = seed * 1103515245u + 12345u) >> 16);
    const auto maxColLen40 = [](CSettingsRecord& r) { r.MaxColLen = 40; };
    const auto none = [](CSettingsRecord&) {};
    const auto face = [](const std::string& name) {
        return [name](CSettingsRecord& r) { font_description::SetFaceName(r.m_logFont, name); };
    };
    const std::string e = "\xC3\xA9";  // two bytes
    const std::pair<std::string, std::function<void(CSettingsRecord&)>> cases[] = {  // bytes, and the changes
        {"", none}, {"[Other]\nDefColLen=30\n[Settings]\nMaxColLen=40\n", maxColLen40},
        {"[Settings]\nDefColLen=0\nMaxColLen=5000\nEnableSpool=7\nSpoolFile=out put.txt\nFontName=\nFontSize=20\n"
         "FontCharset=19\nEnableOutput=2\nSingleLineComment=\nMultilineCommentStart=(*\nMultilineCommentEnd=*)\n"
         "RemoveComments=-3\nHistoryLimit=0\nAutoCommit=0\n",
         [](CSettingsRecord& r) {  // values are used as stored
             r = {.DefColLen = 0, .MaxColLen = 5000, .EnableSpool = 7, .SpoolFile = "out put.txt",
                  .m_logFont = {.lfHeight = 20, .lfCharSet = 186}, .FontCharset = 19, .EnableOutput = 2,
                  .SingleLineComment = "", .MultilineCommentStart = "(*", .MultilineCommentEnd = "*)",
                  .RemoveComments = -3};
         }},
        // Not a decimal integer in int range, or a negative history limit: the default.
        {"[Settings]\nDefColLen=abc\nMaxColLen=12abc\nEnableSpool=99999999999\nFontSize= -20 \nEnableOutput=\n"
         "RemoveComments=0x10\nFontCharset=+3\nHistoryLimit=-1\n",
         [](CSettingsRecord& r) { r.m_logFont.lfHeight = -20; r.FontCharset = 3; r.m_logFont.lfCharSet = 128; }},
        // A charset index outside the table is kept and uses the value of "Default".
        {"[Settings]\nFontCharset=20\n", [](CSettingsRecord& r) { r.FontCharset = 20; }},
        {"[Settings]\nFontCharset=-1\n", [](CSettingsRecord& r) { r.FontCharset = -1; }},
        // A face name keeps its first 31 bytes without cutting a character.
        {"[Settings]\nFontName=" + std::string(40, 'F') + "\n", face(std::string(31, 'F'))},
        {"[Settings]\nFontName=" + std::string(30, 'a') + e + "xyz\n", face(std::string(30, 'a'))},
        {"[Settings]\nFontName=" + std::string(29, 'a') + e + "xyz\n", face(std::string(29, 'a') + e)},
        {noise, none}, {"[Settings", none}, {std::string("[Settings]\0MaxColLen=40\n", 24), none},
        {"======\n=x\n[]\n[[[\n\\\n", none}, {"\xFF\xFE[\0S\0e\0t\0", none},
        {"MaxColLen=40\n", none},  // outside the group
        {"\xEF\xBB\xBF[Settings]\r\nnonsense\r\n\xFF\xFE=\r\nMaxColLen=40\r\n[Recent File List\r\n", maxColLen40},
        {"\xEF\xBB\xBF\xEF\xBB\xBF[Settings]\nMaxColLen=40\n", maxColLen40},
    };
    const std::string folder = Folder();
    for (const auto& [bytes, change] : cases) {
        SCOPED_TRACE(testing::PrintToString(bytes.substr(0, 60)));
        WriteFile(folder + "/p.conf", bytes);
        CSettingsRecord expected = DefaultSettings();
        change(expected);
        const CSettingsRecord record = LoadRecord(folder + "/p.conf");
        ExpectSameSettings(record, expected);
        EXPECT_TRUE(SaveRecord(record, folder + "/saved.conf"));  // every key, so nothing of the last case stays
        ExpectSameSettings(LoadRecord(folder + "/saved.conf"), expected);
    }
    wxSetAssertHandler(previous);
    EXPECT_EQ(g_assertions, 0);
}

// The recent-file list, written through the same store, shares the file.
// Without an absolute XDG_CONFIG_HOME the file is under HOME.
TEST(SettingsStore, EverySettingComesBackByteForByteFromTheFileUnderXdgConfigHomeElseHome) {
    const std::string configHome = std::getenv("XDG_CONFIG_HOME");
    ASSERT_EQ(configHome.rfind(test_env::TempDir(), 0), 0u) << "tests must not use the user's folder";
    CSettingsRecord record{.DefColLen = INT_MAX, .MaxColLen = INT_MIN, .EnableSpool = 1,
                           .SpoolFile = " /tmp/caf\xE9 \xE6\x97\xA5\xFF\xFE.txt ",  // not UTF-8, then UTF-8
                           .m_logFont = {.lfHeight = -27, .lfCharSet = 129}, .FontCharset = 5, .EnableOutput = 0,
                           .SingleLineComment = "\"quoted\" back\\slash", .MultilineCommentStart = "a;b#c=d [x]",
                           .MultilineCommentEnd = "tab\tcr\rlf\n$HOME ${USER} %s", .RemoveComments = 1,
                           .HistoryLimit = 7};
    font_description::SetFaceName(record.m_logFont, "DejaVu Sans Mono");
    const std::string recent = "/tmp/\xE6\x97\xA5 a.sql";
    {
        CFileProfileStore store;
        record.Save(store);
        store.Config().Write(wxString(CFileProfileStore::kRecentFileGroup) + "/File1", wxString::FromUTF8(recent));
    }  // written when the store goes
    const std::string path = configHome + "/Tarnwell/Tarnwell.conf";
    ExpectSameSettings(LoadRecord(path), record);
    EXPECT_EQ(CFileProfileStore(path).GetProfileString("Recent File List", "File1", ""), recent);

    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";  // empty reads as unset
    setenv("HOME", "/home/someone", 1);
    for (const char* unusable : {static_cast<const char*>(nullptr), "", "relative/config"}) {
        unusable ? setenv("XDG_CONFIG_HOME", unusable, 1) : unsetenv("XDG_CONFIG_HOME");
        EXPECT_EQ(CFileProfileStore::DefaultPath(), "/home/someone/.config/Tarnwell/Tarnwell.conf");
    }
    setenv("XDG_CONFIG_HOME", configHome.c_str(), 1);
    setenv("HOME", home.c_str(), 1);
}

// A loaded file (with a value written into it, or not), saved and loaded
// again, holds the same and is saved the same way: nothing that the first
// save wrote reads differently the next time.
TEST(SettingsStore, SavesAReloadedFileTheSameWay) {
    const std::pair<std::string, bool> cases[] = {  // the file's bytes, and whether a value is written
        {"\xEF\xBB\xBF\xEF\xBB\xBF" "0\xF2\xF2", false}, {"\n\xEF\xBB\xBF", false},  // byte-order marks
        {"!SpoolFile=a\nSpoolFile=b\n", true},  // a key marked unchangeable, and again
        {"[Settings]\n !SpoolFile=a\n!!SpoolFile=b\n", true},
    };
    const std::string path = Folder() + "/p.conf";
    for (const auto& [bytes, write] : cases) {
        SCOPED_TRACE(testing::PrintToString(bytes));
        WriteFile(path, bytes);
        {
            CFileProfileStore store(path);
            if (write) store.WriteProfileString("Settings", "SpoolFile", "x");
            ASSERT_TRUE(store.Flush());
        }
        const std::string saved = ReadFile(path);
        CFileProfileStore store(path);
        EXPECT_EQ(store.GetProfileString("Settings", "SpoolFile", ""), write ? "x" : "");
        ASSERT_TRUE(store.Flush());
        EXPECT_EQ(ReadFile(path), saved);
    }
}

// Whatever the bytes, a value comes back as written: UTF-8 text and every
// kind of malformed sequence. The file holds them as they stand (with
// wxFileConfig's escapes); a NUL byte is written as \0 and ends nothing.
TEST(SettingsStore, KeepsEveryByteOfAValue) {
    using namespace std::string_literals;
    std::vector<std::pair<std::string, std::string>> cases = {  // the value, and its text in the file
        {" lead\t\"q\"\\", R"(" lead\t\"q\"\\")"}, {"a\0b\0"s, R"(a\0b\0)"},
        {"\\0 \\\0"s, R"(\\0 \\\0)"},  // a backslash and 0; a backslash and NUL
        {"\0"s, R"(\0)"},
    };
    for (const std::string asItStands : {
             "/home/ann/out\xFE\x92\x92\x92\x98\xA3\xA3/x",
             "\xF8\x88\x80\x80\x80 \xFC\x84\x80\x80\x80\x80 \xFD\xBF\xBF\xBF\xBF\xBF \xFF\xFE\xFF",  // 5- and 6-byte forms
             "\xFE\xBF\xBF\xBF\xBF\xBF\xBF\xFE\x80\x80\x80\x80\x80\x80",
             "\xC0\xAF \xE0\x80\xAF \xF0\x80\x80\xAF \xED\xA0\x80\xED\xBF\xBF",  // overlong, surrogates
             "\xE6\x97 \xF0\x9F\x98 \x80\xBF x\xE6",                          // cut short, stray
             "\xF4\x90\x80\x80 \xF4\x80\x80\x80\xF4\x80\x83\xBF",            // above Unicode, U+100000..
             "caf\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC",
         })
        cases.emplace_back(asItStands, asItStands);
    const std::string path = Folder() + "/p.conf";
    for (const auto& [value, line] : cases) {
        SCOPED_TRACE(testing::PrintToString(value));
        {
            CFileProfileStore store(path);
            store.WriteProfileString("Settings", "K", value);
            store.WriteProfileString("Settings", "After", "x");
        }
        EXPECT_EQ(ReadFile(path), "[Settings]\nK=" + line + "\nAfter=x\n");
        CFileProfileStore store(path);
        EXPECT_EQ(store.GetProfileString("Settings", "K", "?"), value);
        EXPECT_EQ(store.GetProfileString("Settings", "After", "?"), "x");
    }
}

// How an earlier version wrote a value in the file (UTF-8 with every
// malformed byte kept through wxWidgets' private-use mapping), when it read
// that back as the value.
std::optional<std::string> EarlierText(const std::string& value) {
    const wxMBConvUTF8 conv(wxMBConvUTF8::MAP_INVALID_UTF8_TO_PUA);
    wxMemoryInputStream empty(nullptr, 0);
    wxFileConfig config(empty, conv);
    config.Write("/Settings/K", wxString(value.data(), conv, value.size()));
    wxMemoryOutputStream output;
    config.Save(output, conv);
    std::string bytes(static_cast<std::size_t>(output.GetLength()), '\0');
    output.CopyTo(bytes.data(), bytes.size());
    wxMemoryInputStream input(bytes.data(), bytes.size());
    const wxFileConfig reread(input, conv);
    const wxString text = reread.Read("/Settings/K", "");
    const wxScopedCharBuffer read = text.mb_str(conv);
    if (std::string(read.data(), read.length()) != value) return std::nullopt;
    const std::string head = "[Settings]\nK=";
    return bytes.substr(head.size(), bytes.size() - head.size() - 1);
}

// Every single byte, all 256 in a row and random values (many of them
// malformed UTF-8) come back as written. Where the earlier version kept a
// value too, the file holds exactly what it wrote, so existing files load
// the same values.
TEST(SettingsStore, RandomValuesComeBackAndEarlierFilesStayAsTheyWere) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    std::vector<std::string> values = {all};
    for (const char b : all) values.emplace_back(1, b);
    std::mt19937 random(20240611);
    const auto byte = [&] {  // continuation and lead bytes often, to form (malformed) sequences
        const unsigned kind = random() % 4;
        return static_cast<char>(kind == 0 ? 0x80 + random() % 64 : kind == 1 ? 0xC0 + random() % 64 : random() % 256);
    };
    for (int i = 0; i < 2000; ++i) {
        std::string value(random() % 24, '\0');
        for (char& c : value) c = byte();
        values.push_back(value);
    }

    const std::string path = Folder() + "/p.conf";
    {
        CFileProfileStore store(path);
        for (std::size_t i = 0; i < values.size(); ++i)
            store.WriteProfileString("Settings", "K" + std::to_string(i), values[i]);
    }
    CFileProfileStore store(path);
    std::istringstream file(ReadFile(path));
    std::string line;
    std::getline(file, line);
    int compared = 0;
    for (std::size_t i = 0; i < values.size(); ++i) {
        SCOPED_TRACE(testing::PrintToString(values[i]));
        EXPECT_EQ(store.GetProfileString("Settings", "K" + std::to_string(i), "?"), values[i]);
        std::getline(file, line);
        if (const std::optional<std::string> earlier = EarlierText(values[i])) {
            EXPECT_EQ(line.substr(line.find('=') + 1), *earlier);
            ++compared;
        }
    }
    EXPECT_GT(compared, 1000);
}

// The font is applied once, complete, as soon as FontCharset is read and
// before the output and comment settings; fields from before Load are gone.
TEST(SettingsStore, AppliesTheFontRightAfterReadingIt) {
    const std::string path = Folder() + "/p.conf";
    WriteFile(path, "[Settings]\nFontCharset=17\nEnableOutput=0\n");
    CFileProfileStore store(path);
    CSettingsRecord record;
    record.m_logFont.lfWeight = 700;
    record.EnableOutput = 5;
    int applied = 0;
    record.Load(store, [&](const LOGFONT& font) {
        ++applied;
        LOGFONT expected{.lfHeight = -15, .lfCharSet = 204};
        font_description::SetFaceName(expected, "Courier New");
        EXPECT_EQ(font, expected);
        EXPECT_EQ(record.SpoolFile, "output.txt");
        EXPECT_EQ(record.EnableOutput, 5);
    });
    EXPECT_EQ(applied, 1);
    EXPECT_EQ(record.EnableOutput, 0);
}

// The file is replaced whole or not at all, keeping its permissions, and a
// symbolic link keeps pointing at it. A read-only store, and one whose file
// cannot be read (a FIFO: nothing is unreadable for root), never write it:
// not by Flush, not when they go.
TEST(SettingsStore, WritingReplacesTheFileWholeOrLeavesItAlone) {
    const std::string folder = Folder();
    const std::string path = folder + "/p.conf";
    const std::string old = "[Settings]\nMaxColLen=40\n";
    WriteFile(path, old);
    const fs::perms mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(path, mode);
    fs::create_symlink("p.conf", folder + "/link.conf");

    // A write cut short (here by the file-size limit) leaves the old file as it was.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{64, 64};
        setrlimit(RLIMIT_FSIZE, &limit);
        CFileProfileStore store(path);
        store.WriteProfileString("Settings", "SpoolFile", std::string(10000, 'x'));
        _exit(store.Flush() ? 1 : 0);  // the destructor's write would fail the same way
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the cut-short write was reported as done";
    EXPECT_EQ(ReadFile(path), old);
    EXPECT_EQ(FilesIn(folder), 2) << "a temporary file was left behind";

    const std::string fifo = folder + "/fifo.conf";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const bool readOnly : {true, false}) {
        CFileProfileStore store(readOnly ? path : fifo);
        if (readOnly) store.SetReadOnly();
        EXPECT_EQ(store.GetProfileInt("Settings", "MaxColLen", 100), readOnly ? 40 : 100);
        store.WriteProfileInt("Settings", "MaxColLen", 50);
        EXPECT_FALSE(store.Flush());
    }
    EXPECT_EQ(ReadFile(path), old);
    EXPECT_TRUE(fs::is_fifo(fifo));
    fs::remove(fifo);

    {
        CFileProfileStore store(folder + "/link.conf");
        store.WriteProfileInt("Settings", "MaxColLen", 50);
        EXPECT_TRUE(store.Flush());
    }
    EXPECT_EQ(CFileProfileStore(path).GetProfileInt("Settings", "MaxColLen", 0), 50);
    EXPECT_TRUE(fs::is_symlink(folder + "/link.conf"));
    EXPECT_EQ(FilesIn(folder), 2);
    EXPECT_EQ(fs::status(path).permissions(), mode);
}

}  // namespace
