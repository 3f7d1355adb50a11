#include "settings/face_name_list.h"
#include "settings/list_match.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

// A box shows a value as the first entry that begins with it, case aside.
TEST(ListMatch, FindsTheFirstEntryBeginningWithTheText) {
    const std::vector<std::string> sizes = {"8", "9", "10", "11", "12", "14", "16", "18", "20", "22", "36", "48"};
    const std::vector<std::string> faces = {"Courier 10 Pitch", "Courier New", "DejaVu Sans"};
    const struct {
        const std::vector<std::string>& entries;
        const char* text;
        std::optional<std::size_t> index;
    } cases[] = {
        {sizes, "2", 8},         {sizes, "1", 2},         {sizes, "11", 3},      {sizes, "4", 11},
        {sizes, "", 0},          {sizes, "13", {}},       {sizes, "-15", {}},    {sizes, "100", {}},
        {faces, "courier n", 1}, {faces, "COURIER", 0},   {faces, "dejavu sans", 2},
        {faces, "DejaVu Sans Mono", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(list_match::FindFirstPrefix(c.entries, c.text), c.index) << '"' << c.text << '"';
    }
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

}  // namespace
