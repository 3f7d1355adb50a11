#include "settings/charset_table.h"
#include "settings/face_name_list.h"
#include "settings/font_description.h"
#include "settings/list_match.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::vector<std::string> kSizes = {"8",  "9",  "10", "11", "12", "14", "16", "18",
                                         "20", "22", "24", "26", "28", "36", "48"};

// A box shows a value as the first entry that begins with it.
TEST(ListMatch, SizeBoxShowsTheFirstEntryBeginningWithTheSize) {
    const struct {
        const char* size;
        const char* shown;  // none: the text stays as typed
    } cases[] = {
        {"2", "20"}, {"1", "10"}, {"11", "11"}, {"4", "48"}, {"3", "36"}, {"8", "8"},
        {"", "8"},   {"13", nullptr}, {"-15", nullptr}, {"100", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("size \"") + c.size + "\"");
        const auto index = list_match::FindFirstPrefix(kSizes, c.size);
        if (c.shown == nullptr) {
            EXPECT_FALSE(index.has_value());
        } else {
            ASSERT_TRUE(index.has_value());
            EXPECT_EQ(kSizes[*index], c.shown);
        }
    }
}

TEST(ListMatch, FaceMatchIgnoresCase) {
    const std::vector<std::string> faces = {"Courier 10 Pitch", "Courier New", "DejaVu Sans"};
    EXPECT_EQ(list_match::FindFirstPrefix(faces, "courier n"), 1u);
    EXPECT_EQ(list_match::FindFirstPrefix(faces, "COURIER"), 0u);
    EXPECT_EQ(list_match::FindFirstPrefix(faces, "dejavu sans"), 2u);
    EXPECT_EQ(list_match::FindFirstPrefix(faces, "DejaVu Sans Mono"), std::nullopt);
    EXPECT_EQ(list_match::FindFirstPrefix(faces, "Arial"), std::nullopt);
}

TEST(FaceNameList, ListsEachFaceOnceSortedWithoutRegardToCase) {
    CFaceNameList list;
    for (const char* face : {"Nimbus Mono", "DejaVu Sans", "dejavu sans", "abc", "DEJAVU SANS", "", "Zed", "Bitstream",
                             "DejaVu Sans Mono", "nimbus mono"}) {
        list.Add(face);
    }
    const std::vector<std::string> expected = {"abc", "Bitstream", "DejaVu Sans", "DejaVu Sans Mono", "Nimbus Mono",
                                               "Zed"};
    EXPECT_EQ(list.Names(), expected);
}

TEST(FontDescription, BuildSetsFaceHeightAndCharsetOnly) {
    const LOGFONT font = font_description::Build("Courier New", "11", 96, 129);
    LOGFONT expected;
    font_description::SetFaceName(expected, "Courier New");
    expected.lfHeight = -15;
    expected.lfCharSet = 129;
    EXPECT_EQ(font, expected);
    EXPECT_EQ(font_description::FaceName(font), "Courier New");

    EXPECT_EQ(font_description::Build("Mono", "", 96, 1).lfHeight, 0);
    EXPECT_EQ(font_description::Build("Mono", "pt", 96, 1).lfHeight, 0);
}

TEST(FontDescription, HangulAndHangeulGiveEqualDescriptions) {
    const std::size_t hangeul = 4;
    const std::size_t hangul = 5;
    ASSERT_EQ(kCharsetTable[hangeul].name, "HANGEUL");
    ASSERT_EQ(kCharsetTable[hangul].name, "HANGUL");
    const LOGFONT a = font_description::Build("Mono", "12", 96, kCharsetTable[hangeul].value);
    const LOGFONT b = font_description::Build("Mono", "12", 96, kCharsetTable[hangul].value);
    EXPECT_EQ(a, b);
    EXPECT_EQ(a.lfCharSet, 129);
}

TEST(FontDescription, LongFaceNamesKeep31BytesAndWholeCharacters) {
    LOGFONT font;
    font_description::SetFaceName(font, std::string(40, 'x'));
    EXPECT_EQ(font_description::FaceName(font), std::string(31, 'x'));

    // "é" is two bytes: with 30 bytes before it, it does not fit whole.
    font_description::SetFaceName(font, std::string(30, 'x') + "\xC3\xA9");
    EXPECT_EQ(font_description::FaceName(font), std::string(30, 'x'));
    font_description::SetFaceName(font, std::string(29, 'x') + "\xC3\xA9" + "yy");
    EXPECT_EQ(font_description::FaceName(font), std::string(29, 'x') + "\xC3\xA9");

    // A shorter name clears what a longer one left behind.
    font_description::SetFaceName(font, "Mono");
    LOGFONT expected;
    font_description::SetFaceName(expected, "Mono");
    EXPECT_EQ(font, expected);
}

}  // namespace
