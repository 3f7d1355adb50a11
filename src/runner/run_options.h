#pragma once

#include "exec/result_writer.h"
#include "settings/settings_record.h"

#include <limits>
#include <optional>
#include <string>
#include <vector>

// The command line of tarnwell-run, parsed without running anything. Setting
// overrides are kept apart from the settings so that only the ones given
// replace the stored preferences, and only for this run.
class CRunOptions {
public:
    enum class Action { kRun, kHelp, kVersion, kListDataSources, kDoctor };

    static constexpr const char* kProgramName = "tarnwell-run";
    static constexpr int kDefaultWidth = 80;
    static constexpr int kMinColLen = 1;
    static constexpr int kMaxColLen = 1000;
    static constexpr int kMinWidth = 1;
    static constexpr int kMaxWidth = 100000;
    static constexpr int kMinTimeout = 1;
    static constexpr int kMaxTimeout = std::numeric_limits<int>::max();

    // Parses the arguments after the program name. Throws CUsageError with a
    // one-line message for anything that cannot be run. --help and --version
    // end the parsing where they stand.
    static CRunOptions Parse(const std::vector<std::string>& args);

    // Replaces the settings that options were given for.
    void ApplyTo(CSettingsRecord& settings) const;

    // The scripts to run, in order: the files given, or standard input ("-")
    // when none was given.
    std::vector<std::string> ScriptPaths() const;
    bool ReadsStandardInput() const;

    static std::string HelpText();
    static std::string VersionText();

    Action action = Action::kRun;
    std::string dataSource;   // a data source name or (--connect) a connection string
    std::string userName;
    std::vector<std::string> files;
    int wrapWidth = kDefaultWidth;
    bool lfLineEnds = false;
    bool stopOnError = false;
    bool autoCommit = true;   // --no-autocommit: one transaction, committed when every statement succeeded
    bool reconnect = false;   // --reconnect: connect again once after the connection was lost
    int timeoutSeconds = 0;   // 0: statements may run as long as they take
    ResultFormat format = ResultFormat::kTable;
    std::string expectFile;   // --expect: compare the transcript with it; empty: none
    bool updateExpect = false;   // --update-expect: write expectFile instead
    bool history = false;   // --history: add each script that runs to the worksheet's history

    std::optional<int> enableSpool;
    std::optional<std::string> spoolFile;
    std::optional<int> enableOutput;
    std::optional<int> removeComments;
    std::optional<int> maxColLen;
    std::optional<int> defColLen;
    std::optional<int> showTiming;
    std::optional<std::string> nullText;
};
