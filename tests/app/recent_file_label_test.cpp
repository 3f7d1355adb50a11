#include "app/recent_file_label.h"

#include <gtest/gtest.h>

namespace {

struct LabelCase {
    const char* path;
    const char* abbreviated;
};

const LabelCase kLabelCases[] = {
    {"/home/ann/a.sql", "/home/ann/a.sql"},
    {"/home/ann/work/sql/q1-report.sql", "/.../work/sql/q1-report.sql"},          // 32 characters
    {"/home/user/projects/sql/reports/monthly.sql", "/.../sql/reports/monthly.sql"},
    {"/a/b/this-name-alone-is-far-too-long-to-fit.sql", "this-name-alone-is-far-too-long-to-fit.sql"},
    {"/srv/x/abcdefghijklmnopqrstuvwxyz.sql", "abcdefghijklmnopqrstuvwxyz.sql"},  // "/.../" + name: 35
    {"relative/folder/deeper/than/thirty/chars.sql", ".../than/thirty/chars.sql"},
    {"/home/\xc3\xa4\xc3\xa4\xc3\xa4\xc3\xa4\xc3\xa4/\xc3\xb6\xc3\xb6\xc3\xb6\xc3\xb6\xc3\xb6\xc3\xb6\xc3\xb6\xc3\xb6/q.sql",
     "/home/\xc3\xa4\xc3\xa4\xc3\xa4\xc3\xa4\xc3\xa4/\xc3\xb6\xc3\xb6\xc3\xb6\xc3\xb6\xc3\xb6\xc3\xb6\xc3\xb6\xc3\xb6/q.sql"},
};

TEST(RecentFileLabelTest, ShortensLongPathsToThirtyCharacters) {
    for (const LabelCase& c : kLabelCases) {
        const std::string shortened = AbbreviatePath(c.path);
        EXPECT_EQ(shortened, c.abbreviated) << c.path;
    }
}

TEST(RecentFileLabelTest, NumbersEntriesAndDoublesAmpersands) {
    EXPECT_EQ(RecentFileLabel(0, "/tmp/a.sql"), "&1 /tmp/a.sql");
    EXPECT_EQ(RecentFileLabel(3, "/tmp/R&D.sql"), "&4 /tmp/R&&D.sql");
}

}  // namespace
