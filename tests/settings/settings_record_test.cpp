#include "settings/settings_record.h"
#include "support/default_settings.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

// An in-memory store that logs every call in order: "int K", "str K" for
// reads and "K=V" for writes.
class RecordingStore : public CProfileStore {
public:
    std::map<std::string, int> ints;
    std::map<std::string, std::string> strings;
    std::vector<std::string> log;

    int GetProfileInt(const std::string& section, const std::string& key, int defaultValue) override {
        Check(section);
        log.push_back("int " + key);
        const auto it = ints.find(key);
        return it == ints.end() ? defaultValue : it->second;
    }
    std::string GetProfileString(const std::string& section, const std::string& key,
                                 const std::string& defaultValue) override {
        Check(section);
        log.push_back("str " + key);
        const auto it = strings.find(key);
        return it == strings.end() ? defaultValue : it->second;
    }
    void WriteProfileInt(const std::string& section, const std::string& key, int value) override {
        Check(section);
        log.push_back(key + "=" + std::to_string(value));
        ints[key] = value;
    }
    void WriteProfileString(const std::string& section, const std::string& key, const std::string& value) override {
        Check(section);
        log.push_back(key + "=\"" + value + "\"");
        strings[key] = value;
    }

private:
    static void Check(const std::string& section) { EXPECT_EQ(section, "Settings"); }
};

LOGFONT Font(const char* face, int height, std::uint8_t charset) {
    LOGFONT font;
    std::snprintf(font.lfFaceName, sizeof font.lfFaceName, "%s", face);
    font.lfHeight = height;
    font.lfCharSet = charset;
    return font;
}

TEST(SettingsRecord, EmptyStoreGivesTheDefaults) {
    RecordingStore store;
    CSettingsRecord record;
    record.Load(store);
    ExpectSameSettings(record, DefaultSettings());  // the font's other fields 0
}

TEST(SettingsRecord, ReadsInOrderAndAppliesTheFontRightAfterFontCharset) {
    RecordingStore store;
    store.ints["FontCharset"] = 17;
    CSettingsRecord record;
    record.m_logFont.lfWeight = 700;  // whatever was there before goes
    int applied = 0;
    record.Load(store, [&](const LOGFONT& font) {
        ++applied;
        EXPECT_EQ(font, Font("Courier New", -15, 204));
        store.log.push_back("apply");
    });
    EXPECT_EQ(applied, 1);
    const std::vector<std::string> expected = {
        "int DefColLen",    "int MaxColLen",    "int EnableSpool",           "str SpoolFile",
        "str FontName",     "int FontSize",     "int FontCharset",           "apply",
        "int EnableOutput", "str SingleLineComment", "str MultilineCommentStart", "str MultilineCommentEnd",
        "int RemoveComments"};
    EXPECT_EQ(store.log, expected);
}

TEST(SettingsRecord, OneStoredKeyLeavesTheOthersAtTheirDefaults) {
    RecordingStore store;
    store.ints["MaxColLen"] = 40;
    CSettingsRecord record;
    record.Load(store);
    EXPECT_EQ(record.MaxColLen, 40);
    EXPECT_EQ(record.DefColLen, 10);
    EXPECT_EQ(record.SpoolFile, "output.txt");
    EXPECT_EQ(record.m_logFont, Font("Courier New", -15, 1));
    EXPECT_EQ(record.EnableOutput, 1);
}

TEST(SettingsRecord, SaveRewritesAllTwelveKeysInOrder) {
    RecordingStore store;
    CSettingsRecord record;
    record.Load(store);
    store.log.clear();
    record.Save(store);
    const std::vector<std::string> expected = {
        "DefColLen=10",           "MaxColLen=100",          "EnableSpool=0",
        "SpoolFile=\"output.txt\"", "FontName=\"Courier New\"", "FontSize=-15",
        "FontCharset=1",          "EnableOutput=1",         "SingleLineComment=\"--\"",
        "MultilineCommentStart=\"/*\"", "MultilineCommentEnd=\"*/\"", "RemoveComments=0"};
    EXPECT_EQ(store.log, expected);
}

// The charset is stored as an index and used as the table's value; an index
// outside the table keeps itself and uses the value of "Default".
TEST(SettingsRecord, CharsetIndexLoadsTheTableValueAndIsSavedAsTheIndex) {
    const struct {
        int stored;
        std::uint8_t value;
    } cases[] = {{0, 0}, {1, 1}, {2, 2}, {3, 128}, {5, 129}, {8, 255}, {18, 77}, {19, 186}, {20, 1}, {-1, 1}};
    for (const auto& c : cases) {
        RecordingStore store;
        store.ints["FontCharset"] = c.stored;
        CSettingsRecord record;
        record.Load(store);
        EXPECT_EQ(record.m_logFont.lfCharSet, c.value) << c.stored;
        record.Save(store);
        EXPECT_EQ(store.ints["FontCharset"], c.stored);
    }
}

TEST(SettingsRecord, ValuesAreUsedAsStored) {
    RecordingStore store;
    store.ints = {{"DefColLen", 0}, {"MaxColLen", 5000}, {"EnableSpool", 7}, {"FontSize", 20}, {"FontCharset", 1},
                  {"EnableOutput", 2}, {"RemoveComments", -3}};
    store.strings = {{"SpoolFile", " /tmp/a b.txt "}, {"FontName", ""}, {"SingleLineComment", ""},
                     {"MultilineCommentStart", "(*"}, {"MultilineCommentEnd", "*)"}};
    CSettingsRecord record;
    record.Load(store);
    const auto ints = store.ints;
    const auto strings = store.strings;
    EXPECT_EQ(record.m_logFont, Font("", 20, 1));
    record.Save(store);  // what was loaded is written back unchanged
    EXPECT_EQ(store.ints, ints);
    EXPECT_EQ(store.strings, strings);
}

TEST(SettingsRecord, LongFaceNameKeepsItsFirst31BytesWithoutCuttingACharacter) {
    const std::string ascii40(40, 'F');
    const std::string e = "\xC3\xA9";  // two bytes
    const struct {
        std::string stored;
        std::string face;
    } cases[] = {
        {ascii40, ascii40.substr(0, 31)},
        {ascii40.substr(0, 31), ascii40.substr(0, 31)},
        {std::string(30, 'a') + e + "xyz", std::string(30, 'a')},  // é would straddle the limit
        {std::string(29, 'a') + e + "xyz", std::string(29, 'a') + e},
    };
    for (const auto& c : cases) {
        RecordingStore store;
        store.strings["FontName"] = c.stored;
        CSettingsRecord record;
        record.Load(store);
        EXPECT_EQ(record.FontName(), c.face);
        record.Save(store);
        EXPECT_EQ(store.strings["FontName"], c.face);
    }
}

}  // namespace
