#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

// Runs a program as a child process in a session of its own (so it has no
// controlling terminal and cannot prompt on one), with standard input from
// the given bytes, and collects its exit status, standard output and
// standard error.
struct ChildResult {
    int status = -1;  // exit status; -1 when it did not exit normally
    std::string out;
    std::string err;
};

// Environment changes for the child: a value sets the variable, none unsets it.
using EnvChanges = std::vector<std::pair<std::string, std::optional<std::string>>>;

ChildResult RunChild(const std::string& program, const std::vector<std::string>& args, const std::string& input,
                     const EnvChanges& env, const std::string& workingDir);

// The bytes of a file (empty when it cannot be read).
std::string FileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
