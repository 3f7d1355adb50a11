#include "runner/script_file_reader.h"

#include "support/test_env.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

// Any bytes, NUL, byte-order mark and lone line ends included, come back as
// they stand, also from a file larger than a read block. (Unreadable files:
// see runner_end_to_end_test.)
TEST(ScriptFileReader, ReadsTheBytesAsTheyStand) {
    std::string large;
    while (large.size() < 200000) large += "insert into t values (" + std::to_string(large.size()) + ");\r\n";
    const std::vector<std::string> contents = {"", std::string("select '\0';\nx\r", 13),
                                               "\xEF\xBB\xBFselect '\xFF\xC3\xA9';", large};
    for (std::size_t i = 0; i < contents.size(); ++i) {
        const std::string path = test_env::TempDir() + "/script" + std::to_string(i) + ".sql";
        std::ofstream(path, std::ios::binary) << contents[i];
        EXPECT_EQ(CScriptFileReader::Read(path), contents[i]) << i;
    }
}

}  // namespace
