#include "panes/default_extension.h"

#include <gtest/gtest.h>

namespace {

TEST(DefaultExtension, IsAddedOnlyToANameWithoutExtension) {
    struct Case {
        const char* typed;
        const char* written;
    };
    const Case cases[] = {
        {"/home/u/result", "/home/u/result.txt"},
        {"result", "result.txt"},
        {"/home/u/result.txt", "/home/u/result.txt"},
        {"/home/u/result.csv", "/home/u/result.csv"},
        {"/home/u/archive.tar.gz", "/home/u/archive.tar.gz"},
        {"/home/u/result.", "/home/u/result."},
        {"/home/u.d/result", "/home/u.d/result.txt"},
        {"/home/u/.profile", "/home/u/.profile.txt"},
        {"/home/u/", "/home/u/"},
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        EXPECT_EQ(default_extension::Add(c.typed, "txt"), c.written);
    }
}

}  // namespace
