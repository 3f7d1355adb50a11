#include "runner/script_file_error.h"
#include "runner/script_file_reader.h"

#include "support/test_env.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

std::string WriteFile(const std::string& name, const std::string& bytes) {
    const std::string path = test_env::TempDir() + "/" + name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

TEST(ScriptFileReader, ReadsTheBytesAsTheyStand) {
    std::string large;
    while (large.size() < 200000) large += "insert into t values (" + std::to_string(large.size()) + ");\r\n";
    const std::vector<std::string> contents = {
        "",
        "select 1;\r\nselect 2",
        std::string("select '\0';\nx\r", 13),
        "\xEF\xBB\xBFselect '\xFF\xC3\xA9';",
        large,
    };
    for (std::size_t i = 0; i < contents.size(); ++i) {
        const std::string path = WriteFile("script" + std::to_string(i) + ".sql", contents[i]);
        EXPECT_EQ(CScriptFileReader::Read(path), contents[i]) << i;
    }
}

TEST(ScriptFileReader, NamesTheFileAndTheReason) {
    const std::string folder = test_env::TempDir() + "/a folder";
    std::filesystem::create_directories(folder);
    struct Case {
        std::string path;
        std::string message;
    };
    std::vector<Case> cases = {
        {test_env::TempDir() + "/missing.sql",
         "cannot read script file '" + test_env::TempDir() + "/missing.sql': No such file or directory"},
        {folder, "cannot read script file '" + folder + "': Is a directory"},
        {"", "cannot read script file '': No such file or directory"},
    };
    if (geteuid() != 0) {
        const std::string locked = WriteFile("locked.sql", "select 1");
        chmod(locked.c_str(), 0);
        cases.push_back({locked, "cannot read script file '" + locked + "': Permission denied"});
    }
    for (const Case& c : cases) {
        try {
            CScriptFileReader::Read(c.path);
            ADD_FAILURE() << "read " << c.path;
        } catch (const CScriptFileError& error) {
            EXPECT_EQ(error.Message(), c.message);
        }
    }
}

}  // namespace
