#pragma once

#include <string>
#include <vector>

// What the worksheet's command line asks for:
//   tarnwell [--dsn NAME] [--user NAME] [FILE]
// --dsn and --user (also written --dsn=NAME, --user=NAME) fill the Connect
// dialog's fields at start; FILE is the one script to open. "--" ends the
// options, so a script whose name begins with "-" can still be named.
struct CommandLine {
    std::string dataSource;
    std::string userName;
    std::string scriptFile;   // empty: start with a new, empty script
    bool help = false;        // --help or -h: print the usage and end
    std::string error;        // not empty: the line is wrong; the text says why

    static const char* Usage();
};

// args are the arguments after the program name, as given (bytes).
CommandLine ParseCommandLine(const std::vector<std::string>& args);
