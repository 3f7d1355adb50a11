#pragma once

#include <string>
#include <vector>

// What the worksheet's command line asks for:
//   tarnwell [--dsn NAME | --connect STRING] [--user NAME] [FILE]
//   tarnwell --help | --version | --list-dsn
// --dsn and --user (also written --dsn=NAME, --user=NAME) fill the Connect
// dialog's fields at start; --connect fills the data source with an ODBC
// connection string; FILE is the one script to open. "--" ends the
// options, so a script whose name begins with "-" can still be named.
// --help, --version and --list-dsn are answered before the toolkit starts,
// so they work without a display.
struct CommandLine {
    std::string dataSource;   // a data source name or (--connect) a connection string
    std::string userName;
    std::string scriptFile;   // empty: start with a new, empty script
    bool help = false;        // --help or -h: print HelpText and end
    bool version = false;     // --version: print VersionText and end
    bool listDataSources = false;   // --list-dsn: print the data sources and end
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
