#pragma once

#include <string>
#include <vector>

// What the worksheet's command line asks for:
//   tarnwell [--dsn NAME] [--user NAME] [FILE]
//   tarnwell --help | --version
// --dsn and --user (also written --dsn=NAME, --user=NAME) fill the Connect
// dialog's fields at start; FILE is the one script to open. "--" ends the
// options, so a script whose name begins with "-" can still be named.
// --help and --version are answered before the toolkit starts, so they work
// without a display.
struct CommandLine {
    std::string dataSource;
    std::string userName;
    std::string scriptFile;   // empty: start with a new, empty script
    bool help = false;        // --help or -h: print HelpText and end
    bool version = false;     // --version: print VersionText and end
    std::string error;        // not empty: the line is wrong; the text says why

    // The one-line synopsis that follows a complaint about the line.
    static const char* Usage();
    // The synopsis, what each option does, and where the settings are.
    static std::string HelpText();
    // "tarnwell VERSION" and a line end.
    static std::string VersionText();
};

// args are the arguments after the program name, as given (bytes).
CommandLine ParseCommandLine(const std::vector<std::string>& args);
