#include "runner/batch_runner.h"

#include "common/file_exception.h"
#include "db/connection_string.h"
#include "db/data_source_list.h"
#include "db/db_connection.h"
#include "db/db_exception.h"
#include "db/odbc_doctor.h"
#include "history/history_file.h"
#include "history/history_list.h"
#include "history/history_store.h"
#include "exec/run_control.h"
#include "exec/script_runner.h"
#include "exec/statement_watchdog.h"
#include "exec/text_statement_source.h"
#include "runner/expected_transcript.h"
#include "runner/password_source.h"
#include "runner/run_outputs.h"
#include "runner/script_file_error.h"
#include "runner/script_file_reader.h"
#include "runner/stop_signals.h"
#include "runner/usage_error.h"
#include "settings/file_profile_store.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <new>
#include <optional>
#include <utility>
#include <fcntl.h>
#include <unistd.h>

namespace {

void Complain(const std::string& message) {
    std::fprintf(stderr, "%s: %s\n", CRunOptions::kProgramName, message.c_str());
}

// A standard stream that the caller closed is opened on /dev/null, so that no
// file opened later (a script, the spool file, a driver's database) takes its
// number and receives the transcript. It is opened in the other direction,
// so using it still fails and is reported as it would have been.
void GuardClosedStandardStreams() {
    for (const int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        const int opened = open("/dev/null", fd == STDIN_FILENO ? O_WRONLY : O_RDONLY);
        if (opened >= 0 && opened != fd) close(opened);
    }
}

// The worksheet's preferences, read from its settings file and never written
// back; the options given replace some of them for this run.
CSettingsRecord LoadSettings(const CRunOptions& options) {
    CSettingsRecord settings;
    {
        CFileProfileStore store;
        store.SetReadOnly();
        settings.Load(store);
    }
    options.ApplyTo(settings);
    return settings;
}

// The engine runs without a spool file it cannot open, as the worksheet does;
// a batch user is told so on standard error, as the run goes on.
void WarnIfSpoolUnwritable(const CSettingsRecord& settings) {
    if (!settings.EnableSpool) return;
    std::FILE* probe = std::fopen(settings.SpoolFile.c_str(), "ab");
    if (probe != nullptr) {
        std::fclose(probe);
        return;
    }
    Complain("cannot open the spool file '" + settings.SpoolFile + "': " + std::strerror(errno) +
             " (the run goes on without it)");
}

CommentSyntax SyntaxOf(const CSettingsRecord& settings) {
    return CommentSyntax{settings.SingleLineComment, settings.MultilineCommentStart, settings.MultilineCommentEnd,
                         settings.RemoveComments != 0};
}

// Every script's text, in order, read before anything connects so that a bad
// file name runs nothing. Named files are read first, standard input (which
// may be the terminal the password is typed on) only when asked for.
class ScriptTexts {
public:
    explicit ScriptTexts(std::vector<std::string> paths) : m_paths(std::move(paths)), m_texts(m_paths.size()) {}

    void ReadFiles() {
        for (std::size_t i = 0; i < m_paths.size(); ++i)
            if (m_paths[i] != "-") m_texts[i] = CScriptFileReader::Read(m_paths[i]);
    }

    // Standard input is read once, by its first "-"; a later "-" finds it at
    // its end, as any program reading it twice would.
    void ReadStandardInput() {
        bool read = false;
        for (std::size_t i = 0; i < m_paths.size(); ++i) {
            if (m_paths[i] != "-") continue;
            m_texts[i] = read ? std::string() : CScriptFileReader::Read("-");
            read = true;
        }
    }

    std::size_t Count() const noexcept { return m_texts.size(); }
    std::string Take(std::size_t i) { return std::move(m_texts[i]); }

private:
    std::vector<std::string> m_paths;
    std::vector<std::string> m_texts;
};

// After the run: the expected transcript written (--update-expect), or
// compared with the run's, with the diff on standard error. The run's status
// when that went wrong, else kSuccess.
int Settle(const CExpectedTranscript& expected, const std::string& transcript) {
    if (expected.Updates()) {
        try {
            expected.Write(transcript);
        } catch (const CFileException& error) {
            Complain("cannot write the expected transcript '" + expected.Path() +
                     "': " + std::strerror(error.GetOsError()));
            return CBatchRunner::kStatementFailed;
        }
    } else if (const std::string diff = expected.Diff(transcript); !diff.empty()) {
        std::fputs(diff.c_str(), stderr);
        Complain("the transcript differs from '" + expected.Path() + "'");
        return CBatchRunner::kTranscriptDiffers;
    }
    return CBatchRunner::kSuccess;
}

}  // namespace

std::string CBatchRunner::OneLine(const std::string& message) {
    const std::size_t first = message.find_first_not_of("\r\n");
    if (first == std::string::npos) return {};
    std::string line = message.substr(first, message.find_last_not_of("\r\n") - first + 1);
    for (char& c : line)
        if (c == '\r' || c == '\n') c = ' ';
    return line;
}

int CBatchRunner::Main(const std::vector<std::string>& args) {
    GuardClosedStandardStreams();
    try {
        // Before any thread starts, so that the driver's threads and the
        // watchdog's inherit the blocked signals.
        CStopSignals signals;
        const CRunOptions options = CRunOptions::Parse(args);
        switch (options.action) {
        case CRunOptions::Action::kHelp:
            std::fputs(CRunOptions::HelpText().c_str(), stdout);
            return std::fflush(stdout) == 0 ? kSuccess : kStatementFailed;
        case CRunOptions::Action::kVersion:
            std::fputs(CRunOptions::VersionText().c_str(), stdout);
            return std::fflush(stdout) == 0 ? kSuccess : kStatementFailed;
        case CRunOptions::Action::kListDataSources:
            std::fputs(CDataSourceList::Text(CDataSourceList::Read()).c_str(), stdout);
            return std::fflush(stdout) == 0 ? kSuccess : kStatementFailed;
        case CRunOptions::Action::kDoctor:
            return Doctor(options);
        case CRunOptions::Action::kRun:
            break;
        }
        return Run(options, signals);
    } catch (const CUsageError& error) {
        Complain(error.Message() + " (see " + CRunOptions::kProgramName + " --help)");
        return kUsage;
    } catch (const std::bad_alloc&) {
        Complain("Out of memory.");
        return kStatementFailed;
    } catch (const std::exception& error) {
        Complain(OneLine(error.what()));
        return kStatementFailed;
    }
}

int CBatchRunner::Doctor(const CRunOptions& options) {
    const std::string password = options.dataSource.empty() ? std::string() : CPasswordSource::Obtain(false);
    const COdbcDoctor::Examination examination = COdbcDoctor::Examine(options.dataSource, options.userName, password);
    std::fputs(examination.text.c_str(), stdout);
    if (std::fflush(stdout) != 0) return kStatementFailed;
    return examination.connected ? kSuccess : kUsage;
}

int CBatchRunner::Run(const CRunOptions& options, CStopSignals& signals) {
    const CSettingsRecord settings = LoadSettings(options);

    ScriptTexts scripts(options.ScriptPaths());
    std::optional<CExpectedTranscript> expected;
    std::string password;
    try {
        scripts.ReadFiles();
        if (!options.expectFile.empty()) expected.emplace(options.expectFile, options.updateExpect);
        password = CPasswordSource::Obtain(options.ReadsStandardInput());
        scripts.ReadStandardInput();
    } catch (const CScriptFileError& error) {
        Complain(error.Message());
        return kUnreadableScript;
    }

    CDbConnection connection;
    try {
        connection.Connect(options.dataSource, options.userName, password);
    } catch (const CDBException& error) {
        Complain("cannot connect to '" + CConnectionString::Shareable(options.dataSource) +
                 "': " + OneLine(error.Message()));
        if (COdbcDoctor::Helps(error.SqlState())) std::fputs(COdbcDoctor::Report(options.dataSource).c_str(), stderr);
        return kUsage;
    }

    // A data source without transactions would commit every statement.
    if (!options.autoCommit) {
        try {
            if (!connection.SupportsTransactions())
                throw CDBException(DiagRecord{true, "HYC00", "The data source does not support transactions."});
            connection.SetAutoCommit(false);
        } catch (const CDBException& error) {
            Complain("cannot turn autocommit off for '" + connection.DataSource() + "': " + OneLine(error.Message()));
            return kUsage;
        }
    }

    WarnIfSpoolUnwritable(settings);
    CRunOutputs outputs(options, settings);
    CConsoleRunHost host = outputs.Host();
    CHistoryList history;
    CScriptRunner runner(connection, history, outputs.Transcript(), host);
    runner.SetResultPrinter(outputs.Printer());
    const CommentSyntax syntax = SyntaxOf(settings);
    std::optional<CHistoryStore> durableHistory;
    if (options.history && settings.HistoryLimit > 0) {
        durableHistory.emplace(history_file::DefaultPath(), settings.HistoryLimit);
        if (!durableHistory->Message().empty()) Complain(durableHistory->Message());
        durableHistory->SetFailureHandler(Complain);
        runner.SetRecorder(&*durableHistory);
    }

    // One control for all the scripts: a stop, by a signal or a timeout,
    // ends the script it happens in and no later script runs. The signals
    // stop the run up to the last byte of the transcript.
    CRunControl control;
    control.BeginRun();
    const CStopSignals::Watch watch(signals, control);
    runner.SetControl(&control, options.timeoutSeconds);
    // The watchdog cancels a statement that runs too long, for drivers that
    // ignore the query timeout; where the driver honours it, whichever comes
    // first stops the statement (the runner takes the driver's timeout error
    // as the timeout).
    std::optional<CStatementWatchdog> watchdog;
    if (options.timeoutSeconds > 0) {
        connection.SetQueryTimeout(options.timeoutSeconds);
        watchdog.emplace(control, std::chrono::seconds(options.timeoutSeconds));
    }

    // Once, before the statement after the one that found the connection lost.
    bool reconnected = false;
    if (options.reconnect)
        runner.SetReconnect([&] {
            if (std::exchange(reconnected, true)) return;
            outputs.Flush();
            Complain("the connection was lost; connecting again");
            connection.Reconnect(password);
        });

    int status = kSuccess;
    bool toldLost = false;
    for (std::size_t i = 0; i < scripts.Count() && control.StopRequested() == CRunControl::Stop::None; ++i) {
        CTextStatementSource script(scripts.Take(i), syntax);
        const RunSummary summary = runner.Run(script, settings, options.stopOnError);
        if (connection.IsLost() && !std::exchange(toldLost, true)) {
            // After what the run wrote so far, so the line stands where it happened.
            outputs.Flush();
            Complain(kConnectionLostText);
        }
        if (!summary.connected || summary.failures > 0 || summary.spoolFailed || summary.nulLine > 0 ||
            summary.stop == CRunControl::Stop::Timeout) {
            status = kStatementFailed;
            if (options.stopOnError) break;
        }
    }

    if (!options.autoCommit) {
        // The end of the transaction is written after a stop too.
        runner.SetControl(nullptr);
        const bool commit = status == kSuccess && control.StopRequested() == CRunControl::Stop::None;
        const RunSummary ended =
            runner.EndTransaction(commit ? TransactionEnd::Commit : TransactionEnd::Rollback, settings);
        if (ended.failures > 0 || ended.spoolFailed || !ended.connected) status = kStatementFailed;
    }

    const int writeError = outputs.Finish();
    if (writeError != 0)
        Complain(std::string("cannot write the transcript to standard output: ") + std::strerror(writeError));
    if (const int signalled = signals.ExitStatus(); signalled != 0) return signalled;
    if (expected)
        if (const int settled = Settle(*expected, outputs.Copy()); settled != kSuccess) return settled;
    return writeError == 0 ? status : kStatementFailed;
}
