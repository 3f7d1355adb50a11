#include "app/recent_file_label.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

TEST(RecentFileLabelTest, ShortensLongPathsToThirtyCharacters) {
    const std::pair<const char*, const char*> cases[] = {
        {"/home/ann/a.sql", "/home/ann/a.sql"},
        {"/home/ann/work/sql/q1-report.sql", "/.../work/sql/q1-report.sql"},          // 32 characters
        {"/home/user/projects/sql/reports/monthly.sql", "/.../sql/reports/monthly.sql"},
        {"/a/b/this-name-alone-is-far-too-long-to-fit.sql", "this-name-alone-is-far-too-long-to-fit.sql"},
        {"/srv/x/abcdefghijklmnopqrstuvwxyz.sql", "abcdefghijklmnopqrstuvwxyz.sql"},  // "/.../" + name: 35
        {"relative/folder/deeper/than/thirty/chars.sql", ".../than/thirty/chars.sql"},
        {"/home/\xc3\xa4\xc3\xa4\xc3\xa4\xc3\xa4\xc3\xa4/\xc3\xb6\xc3\xb6\xc3\xb6\xc3\xb6\xc3\xb6\xc3\xb6\xc3\xb6\xc3\xb6/q.sql",
         "/home/\xc3\xa4\xc3\xa4\xc3\xa4\xc3\xa4\xc3\xa4/\xc3\xb6\xc3\xb6\xc3\xb6\xc3\xb6\xc3\xb6\xc3\xb6\xc3\xb6\xc3\xb6/q.sql"},
    };
    for (const auto& [path, abbreviated] : cases) EXPECT_EQ(AbbreviatePath(path), abbreviated) << path;
}

}  // namespace
