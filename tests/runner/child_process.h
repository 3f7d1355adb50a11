#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

// Runs a program as a child process in a session of its own (so it has no
// controlling terminal and cannot prompt on one), feeds it standard input and
// collects its standard output and standard error.
struct ChildResult {
    int status = -1;          // exit status; -1 when it did not exit normally
    std::string out;
    std::string err;
};

// Environment changes for the child: a value sets the variable, none unsets it.
using EnvChanges = std::vector<std::pair<std::string, std::optional<std::string>>>;

ChildResult RunChild(const std::string& program, const std::vector<std::string>& args, const std::string& input = {},
                     const EnvChanges& env = {}, const std::string& workingDir = {});
