#include "runner/run_options.h"

#include "runner/usage_error.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <string_view>
#include <system_error>

#ifndef TARNWELL_VERSION
#define TARNWELL_VERSION "unknown"
#endif

namespace {

using Apply = void (*)(CRunOptions&, const std::string& value, std::string_view name);

struct OptionSpec {
    std::string_view name;
    bool takesValue;
    Apply apply;
};

int ParseNumber(const std::string& value, std::string_view name, int minimum, int maximum) {
    int number = 0;
    const char* const end = value.data() + value.size();
    const auto [stop, error] = std::from_chars(value.data(), end, number);
    if (value.empty() || stop != end || (error != std::errc() && error != std::errc::result_out_of_range))
        throw CUsageError("option '" + std::string(name) + "' needs a whole number, not '" + value + "'");
    if (error == std::errc::result_out_of_range || number < minimum || number > maximum)
        throw CUsageError("option '" + std::string(name) + "' must be between " + std::to_string(minimum) + " and " +
                          std::to_string(maximum) + ", not " + value);
    return number;
}

const std::string& NonEmpty(const std::string& value, std::string_view name) {
    if (value.empty()) throw CUsageError("option '" + std::string(name) + "' needs a non-empty value");
    return value;
}

int ColumnLength(const std::string& value, std::string_view name) {
    return ParseNumber(value, name, CRunOptions::kMinColLen, CRunOptions::kMaxColLen);
}

// Every option, long form only (and -h). A value is given as the next
// argument or after "=".
constexpr std::array kOptions = {
    OptionSpec{"--dsn", true, [](CRunOptions& o, const std::string& v, std::string_view n) { o.dataSource = NonEmpty(v, n); }},
    OptionSpec{"--user", true, [](CRunOptions& o, const std::string& v, std::string_view) { o.userName = v; }},
    OptionSpec{"--connect", true,
               [](CRunOptions& o, const std::string& v, std::string_view n) {
                   if (v.find('=') == std::string::npos)
                       throw CUsageError("option '" + std::string(n) + "' needs a connection string (KEY=VALUE;...), not '" +
                                         v + "'");
                   o.dataSource = v;
               }},
    OptionSpec{"--list-dsn", false,
               [](CRunOptions& o, const std::string&, std::string_view) { o.action = CRunOptions::Action::kListDataSources; }},
    OptionSpec{"--spool", true,
               [](CRunOptions& o, const std::string& v, std::string_view n) {
                   o.spoolFile = NonEmpty(v, n);
                   o.enableSpool = 1;
               }},
    OptionSpec{"--no-spool", false, [](CRunOptions& o, const std::string&, std::string_view) { o.enableSpool = 0; }},
    OptionSpec{"--output", false, [](CRunOptions& o, const std::string&, std::string_view) { o.enableOutput = 1; }},
    OptionSpec{"--quiet", false, [](CRunOptions& o, const std::string&, std::string_view) { o.enableOutput = 0; }},
    OptionSpec{"--enable-output", true,
               [](CRunOptions& o, const std::string& v, std::string_view n) {
                   if (v != "0" && v != "1")
                       throw CUsageError("option '" + std::string(n) + "' must be 0 or 1, not '" + v + "'");
                   o.enableOutput = v == "1" ? 1 : 0;
               }},
    OptionSpec{"--remove-comments", false, [](CRunOptions& o, const std::string&, std::string_view) { o.removeComments = 1; }},
    OptionSpec{"--keep-comments", false, [](CRunOptions& o, const std::string&, std::string_view) { o.removeComments = 0; }},
    OptionSpec{"--max-col-len", true,
               [](CRunOptions& o, const std::string& v, std::string_view n) { o.maxColLen = ColumnLength(v, n); }},
    OptionSpec{"--def-col-len", true,
               [](CRunOptions& o, const std::string& v, std::string_view n) { o.defColLen = ColumnLength(v, n); }},
    OptionSpec{"--width", true,
               [](CRunOptions& o, const std::string& v, std::string_view n) {
                   o.wrapWidth = ParseNumber(v, n, CRunOptions::kMinWidth, CRunOptions::kMaxWidth);
               }},
    OptionSpec{"--lf", false, [](CRunOptions& o, const std::string&, std::string_view) { o.lfLineEnds = true; }},
    OptionSpec{"--timing", false, [](CRunOptions& o, const std::string&, std::string_view) { o.showTiming = 1; }},
    OptionSpec{"--no-timing", false, [](CRunOptions& o, const std::string&, std::string_view) { o.showTiming = 0; }},
    OptionSpec{"--timeout", true,
               [](CRunOptions& o, const std::string& v, std::string_view n) {
                   o.timeoutSeconds = ParseNumber(v, n, CRunOptions::kMinTimeout, CRunOptions::kMaxTimeout);
               }},
    OptionSpec{"--format", true,
               [](CRunOptions& o, const std::string& v, std::string_view n) {
                   const std::optional<ResultFormat> format = CResultWriter::FormatNamed(v);
                   if (!format)
                       throw CUsageError("option '" + std::string(n) +
                                         "' must be table, csv, tsv, json or markdown, not '" + v + "'");
                   o.format = *format;
               }},
    OptionSpec{"--null", true, [](CRunOptions& o, const std::string& v, std::string_view) { o.nullText = v; }},
    OptionSpec{"--expect", true,
               [](CRunOptions& o, const std::string& v, std::string_view n) { o.expectFile = NonEmpty(v, n); }},
    OptionSpec{"--update-expect", false, [](CRunOptions& o, const std::string&, std::string_view) { o.updateExpect = true; }},
    OptionSpec{"--history", false, [](CRunOptions& o, const std::string&, std::string_view) { o.history = true; }},
    OptionSpec{"--stop-on-error", false, [](CRunOptions& o, const std::string&, std::string_view) { o.stopOnError = true; }},
    OptionSpec{"--no-autocommit", false, [](CRunOptions& o, const std::string&, std::string_view) { o.autoCommit = false; }},
    OptionSpec{"--reconnect", false, [](CRunOptions& o, const std::string&, std::string_view) { o.reconnect = true; }},
    OptionSpec{"--help", false, [](CRunOptions& o, const std::string&, std::string_view) { o.action = CRunOptions::Action::kHelp; }},
    OptionSpec{"-h", false, [](CRunOptions& o, const std::string&, std::string_view) { o.action = CRunOptions::Action::kHelp; }},
    OptionSpec{"--version", false,
               [](CRunOptions& o, const std::string&, std::string_view) { o.action = CRunOptions::Action::kVersion; }},
};

const OptionSpec* FindOption(std::string_view name) {
    const auto found = std::find_if(kOptions.begin(), kOptions.end(), [name](const OptionSpec& o) { return o.name == name; });
    return found == kOptions.end() ? nullptr : &*found;
}

bool LooksLikeOption(std::string_view arg) { return arg.size() > 1 && arg[0] == '-'; }

}  // namespace

CRunOptions CRunOptions::Parse(const std::vector<std::string>& args) {
    CRunOptions options;
    bool onlyFiles = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (onlyFiles || !LooksLikeOption(arg)) {
            options.files.push_back(arg);
            continue;
        }
        if (arg == "--") {
            onlyFiles = true;
            continue;
        }

        const std::size_t equals = arg.find('=');
        const std::string_view name = std::string_view(arg).substr(0, equals);
        if (name == "--doctor") {
            // The data source is optional: given after "=" or as the next
            // argument that is not an option, else the one of --dsn or --connect.
            options.action = Action::kDoctor;
            if (equals != std::string::npos)
                options.dataSource = NonEmpty(arg.substr(equals + 1), name);
            else if (i + 1 < args.size() && !LooksLikeOption(args[i + 1]))
                options.dataSource = args[++i];
            continue;
        }
        const OptionSpec* option = FindOption(name);
        if (option == nullptr) throw CUsageError("unknown option '" + std::string(name) + "'");

        std::string value;
        if (equals != std::string::npos) {
            if (!option->takesValue) throw CUsageError("option '" + std::string(name) + "' takes no value");
            value = arg.substr(equals + 1);
        } else if (option->takesValue) {
            // A following option is not taken for the value: "--dsn --user x"
            // is a forgotten name, not a data source called "--user".
            if (i + 1 >= args.size() || args[i + 1].starts_with("--"))
                throw CUsageError("option '" + std::string(name) + "' needs a value");
            value = args[++i];
        }
        option->apply(options, value, name);
        if (options.action == Action::kHelp || options.action == Action::kVersion) return options;
    }
    if (options.action != Action::kRun) return options;
    if (options.dataSource.empty()) throw CUsageError("missing --dsn NAME, the data source to connect to");
    if (options.updateExpect && options.expectFile.empty())
        throw CUsageError("option '--update-expect' needs --expect FILE, the file to write");
    return options;
}

void CRunOptions::ApplyTo(CSettingsRecord& settings) const {
    if (enableSpool) settings.EnableSpool = *enableSpool;
    if (spoolFile) settings.SpoolFile = *spoolFile;
    if (enableOutput) settings.EnableOutput = *enableOutput;
    if (removeComments) settings.RemoveComments = *removeComments;
    if (maxColLen) settings.MaxColLen = *maxColLen;
    if (defColLen) settings.DefColLen = *defColLen;
    if (showTiming) settings.ShowTiming = *showTiming;
    if (nullText) settings.NullText = *nullText;
}

std::vector<std::string> CRunOptions::ScriptPaths() const {
    return files.empty() ? std::vector<std::string>{"-"} : files;
}

bool CRunOptions::ReadsStandardInput() const {
    const std::vector<std::string> paths = ScriptPaths();
    return std::find(paths.begin(), paths.end(), "-") != paths.end();
}

std::string CRunOptions::VersionText() { return std::string(kProgramName) + " " TARNWELL_VERSION "\n"; }

std::string CRunOptions::HelpText() {
    return R"(Usage: tarnwell-run --dsn NAME [--user NAME] [OPTION...] [FILE...]
       tarnwell-run --connect STRING [--user NAME] [OPTION...] [FILE...]
       tarnwell-run --list-dsn | --doctor [DSN]
Runs SQL scripts against an ODBC data source without a window and writes the
transcript, byte for byte what the worksheet's output pane shows, to standard
output, or with --format the result sets as data. Each FILE is one script;
without FILE, or for "-", the script is read from standard input. Preferences
come from the worksheet's settings file; the options below replace them for
this run only (the file is never written).

Connection:
  --dsn NAME             data source name (this or --connect is required)
  --connect STRING       an ODBC connection string instead, passed to the
                         driver manager without a driver prompt, for
                         example "DRIVER=SQLite3;Database=/tmp/a.db"; the
                         user name and password are added as UID and PWD
  --user NAME            user name (default: empty)
  --list-dsn             list the data sources the driver manager knows
                         (name, driver, user or system, separated by tabs)
                         and exit
  --doctor [DSN]         connect to DSN (or the --dsn or --connect data
                         source) and disconnect, and report on the ODBC
                         set-up: the files the driver manager reads, the
                         known data sources, the driver's library and
                         whether it loads; exit 0 when the connect
                         succeeded, 2 otherwise

Settings for this run:
  --spool FILE           append the transcript to FILE (CRLF line ends)
  --no-spool             do not spool
  --output               echo every statement and print "ok" for statements
                         without a result set (--enable-output=1)
  --quiet                print only result sets and failed statements,
                         between "Executing..." and "Script execution
                         complete" (--enable-output=0)
  --enable-output=0|1    the same as --quiet (0) or --output (1)
  --remove-comments      leave comments out of the statements sent
  --keep-comments        send comments with the statements
  --max-col-len N        column buffer size, widest column N-1 (1..1000)
  --def-col-len N        width of a column of unknown size (1..1000)
  --timing               print "Elapsed: S.mmm s" after each statement's
                         output
  --no-timing            do not print the elapsed time
  --null TEXT            show NULL as TEXT in the table and markdown formats
                         (default: blank); no other value shows as TEXT,
                         also when cut to the column width

Results:
  --format FORMAT        table (the default: the transcript, as the worksheet
                         shows it), csv, tsv, json or markdown; in the other
                         formats standard output holds only the result sets,
                         every value whole, and the rest of the transcript
                         (echoes, "ok", row counts, warnings, errors) goes to
                         standard error and the spool file
  --expect FILE          compare the transcript on standard output (the
                         elapsed times left out) with FILE after the run; on
                         a difference print a unified diff on standard error
                         and exit with 4
  --update-expect        with --expect: write the transcript to FILE instead

Transcript:
  --width N              wrap error messages at N columns (default 80)
  --lf                   write LF line ends instead of CRLF (the spool file
                         keeps CRLF; values keep theirs)
  --stop-on-error        stop after the first failing statement

Transactions:
  --no-autocommit        run the statements in one transaction: commit it
                         at the end when every statement succeeded, else
                         roll it back (with --stop-on-error, at the failing
                         statement); the transcript ends with "SQL> commit"
                         or "SQL> rollback" and "ok" or the error
  --reconnect            when the connection is lost, connect again once,
                         before the next statement (said on standard error)
  --timeout SECONDS      cancel a statement that runs longer than SECONDS;
                         nothing after it runs and the exit status is 1

History:
  --history              add each script that runs to the worksheet's history
                         ($XDG_STATE_HOME/Tarnwell/history.sqlite), which
                         keeps the newest HistoryLimit entries of the settings
                         file (0: nothing is added)

  -h, --help             show this help and exit
  --version              show the version and exit

Formats: csv as RFC 4180, a header record per result set, quoted where needed,
NULL an empty field and an empty string ""; tsv with tab, line feed, carriage
return, backslash and NUL escaped as \t \n \r \\ \0, NULL as \N; json one
line per result set, {"statement": ..., "columns": [...], "rows": [[...], ...]},
values of numeric columns as numbers, NULL as null, bytes that are not UTF-8
as \u00XX; markdown a pipe table per result set, "|" escaped.

Password: taken from the environment variable TARNWELL_PASSWORD when it is set
(even to an empty value); otherwise asked for without echo when standard input
is a terminal, or on /dev/tty when the scripts come from standard input; with
no terminal it is empty. Set it empty (TARNWELL_PASSWORD=) to skip the prompt.
It is never given on the command line.

Interrupt (Ctrl+C, SIGINT) or SIGTERM: the running statement is cancelled,
nothing after it runs, and the transcript so far is written; a second
interrupt ends the program at once, as does one before the scripts run.

Exit status: 0 every statement succeeded, 1 a statement failed or timed out
(or the transcript could not be written), 2 bad usage or failed connect, 3 a
script file or the --expect FILE could not be read (then nothing runs), 4 the
transcript differs from the --expect FILE, 130 interrupted (SIGINT), 143
terminated (SIGTERM).
)";
}
