#include "app/command_line.h"

#include <string_view>

#ifndef TARNWELL_VERSION
#define TARNWELL_VERSION "unknown"
#endif

namespace {

// Matches "--name VALUE" and "--name=VALUE". On a match stores the value (or
// an error when the value is missing) and advances i past what it used.
bool TakeOption(const std::vector<std::string>& args, std::size_t& i, std::string_view name, std::string& value,
                std::string& error) {
    const std::string_view arg = args[i];
    if (arg == name) {
        if (i + 1 >= args.size()) {
            error = "The option " + std::string(name) + " needs a value.";
            return true;
        }
        value = args[++i];
        return true;
    }
    if (arg.size() > name.size() && arg.substr(0, name.size()) == name && arg[name.size()] == '=') {
        value = std::string(arg.substr(name.size() + 1));
        return true;
    }
    return false;
}

}  // namespace

const char* CommandLine::Usage() { return "Usage: tarnwell [--dsn NAME | --connect STRING] [--user NAME] [FILE]"; }

std::string CommandLine::HelpText() {
    return std::string(Usage()) + R"(
Opens the Tarnwell SQL worksheet: an editable script pane below an output pane
that shows what running the script against an ODBC data source gives. The
Connect dialog comes up at start and asks for the password, which is never
taken from the command line.

  --dsn NAME     data source name to fill into the Connect dialog
  --connect STRING
                 an ODBC connection string (DSN=...; or DRIVER=...;...) to
                 fill into the Connect dialog instead; the user name and
                 password are added as UID and PWD
  --user NAME    user name to fill into the Connect dialog
  --list-dsn     list the data sources the driver manager knows (name,
                 driver, user or system, separated by tabs) and exit
  FILE           the script to open (write "--" before a name that begins
                 with "-"); without it the worksheet starts with an empty one
  -h, --help     show this help and exit
  --version      show the version and exit

Settings: $XDG_CONFIG_HOME/Tarnwell/Tarnwell.conf (~/.config by default).
Scripts without a window: tarnwell-run --help. Manual page: man tarnwell.
)";
}

std::string CommandLine::VersionText() { return "tarnwell " TARNWELL_VERSION "\n"; }

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
    CommandLine line;
    bool optionsEnded = false;
    bool haveFile = false;
    for (std::size_t i = 0; i < args.size() && line.error.empty(); ++i) {
        const std::string& arg = args[i];
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
            if (arg == "--help" || arg == "-h") {
                line.help = true;
            } else if (arg == "--version") {
                line.version = true;
            } else if (arg == "--list-dsn") {
                line.listDataSources = true;
            } else if (TakeOption(args, i, "--connect", line.dataSource, line.error)) {
                if (line.error.empty() && line.dataSource.find('=') == std::string::npos)
                    line.error = "The option --connect needs a connection string (KEY=VALUE;...).";
            } else if (!TakeOption(args, i, "--dsn", line.dataSource, line.error) &&
                       !TakeOption(args, i, "--user", line.userName, line.error)) {
                line.error = "Unknown option " + arg + ".";
            }
            continue;
        }
        if (haveFile) {
            line.error = "Only one script file can be opened at a time.";
            continue;
        }
        line.scriptFile = arg;
        haveFile = true;
    }
    if (haveFile && line.scriptFile.empty() && line.error.empty()) line.error = "The script file name is empty.";
    return line;
}
