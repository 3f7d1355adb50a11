#include "panes/default_extension.h"

#include <gtest/gtest.h>

namespace {

TEST(DefaultExtension, IsAddedOnlyToANameWithoutExtension) {
    const std::pair<const char*, const char*> cases[] = {
        {"result", "result.txt"},
        {"/home/u/result", "/home/u/result.txt"},
        {"/home/u/result.txt", "/home/u/result.txt"},
        {"/home/u/archive.tar.gz", "/home/u/archive.tar.gz"},
        {"/home/u/result.", "/home/u/result."},
        {"/home/u.d/result", "/home/u.d/result.txt"},
        {"/home/u/.profile", "/home/u/.profile.txt"},
        {"/home/u/", "/home/u/"},
        {"", ""},
    };
    for (const auto& [typed, written] : cases) {
        EXPECT_EQ(default_extension::Add(typed, "txt"), written) << typed;
    }
}

}  // namespace
