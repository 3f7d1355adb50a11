#pragma once

#include "db/db_connection.h"
#include "history/history_list.h"
#include "history/history_recorder.h"
#include "exec/line_tracking_sink.h"
#include "exec/output_sink.h"
#include "exec/result_printer.h"
#include "exec/run_control.h"
#include "exec/run_host.h"
#include "exec/statement_source.h"
#include "settings/settings_record.h"

#include <functional>
#include <optional>
#include <string_view>

// What one run did, for the command-line runner's exit status.
struct RunSummary {
    bool connected = false;   // false: "not connected", nothing ran
    int statements = 0;       // statements sent to the data source
    int failures = 0;         // of which failed (an error, not a warning)
    bool spoolFailed = false; // writing the spool file failed
    int nulLine = 0;          // line of a NUL byte that cut text off the script, or 0
    CRunControl::Stop stop = CRunControl::Stop::None;   // why the run was stopped early
};

// The status text while the connection is known to be lost.
inline constexpr const char* kConnectionLostText =
    "The connection to the data source was lost; use Change Connection to connect again.";

// How EndTransaction ends the open transaction.
enum class TransactionEnd { Commit, Rollback };

// Runs a script statement by statement against the connection and writes the
// transcript to the output: the Execute command without the window.
class CScriptRunner {
public:
    CScriptRunner(CDbConnection& connection, CHistoryList& history, COutputSink& output, CRunHost& host);

    // The whole run: status text, spool file (opened "ab" once per run when
    // EnableSpool is on, every appended byte teed to it, closed before the
    // closing line), "not connected\r\n", every statement, the history entry,
    // select-all of the script, "Script execution complete\r\n".
    // A script that holds a NUL byte before more text is run up to the NUL,
    // and the run says so at its end. After an error that means the
    // connection is gone, the status text ends as kConnectionLostText.
    // stopOnError ends the run after the first failing statement (the
    // worksheet always goes on).
    //
    // With a run control (SetControl), a stop requested there ends the run
    // after what the running statement printed so far (its rows and their
    // count line): the line "Execution cancelled\r\n" (or, for a timeout,
    // "Execution cancelled: timeout after N s\r\n") replaces the driver's
    // error for the cancelled statement, and no later statement runs; the
    // run then ends as usual. The control's progress follows the run.
    // settings.ShowTiming adds "Elapsed: S.mmm s\r\n" after each statement's
    // output (appended as volatile text).
    //
    // Result sets are printed as the transcript's table, with settings'
    // column widths and NULL text, unless a result printer is set.
    RunSummary Run(CStatementSource& script, const CSettingsRecord& settings, bool stopOnError = false);

    // Ends the connection's open transaction as a run of its own: the
    // transcript (and the spool file) gets "SQL> commit" or "SQL> rollback"
    // and "ok" or the driver's error, as a statement's would with verbose
    // output (always, since the line is the only sign that it happened).
    // Counts as one statement in the summary; no history entry.
    RunSummary EndTransaction(TransactionEnd end, const CSettingsRecord& settings);

    // What the following runs do when they find the connection lost before
    // a statement (none: they run into the driver's errors). reconnect
    // connects again, or does nothing when it will not (the run goes on as
    // without it), or throws CDBException when the connect failed: the run
    // then prints the error and ends there, a failure.
    void SetReconnect(std::function<void()> reconnect) { m_reconnect = std::move(reconnect); }

    // One statement: skips leading white space, echoes, executes, prints the
    // result set or "ok", or the diagnostic. Returns false when it failed.
    bool ExecuteStatement(std::string_view statement, const CSettingsRecord& settings);

    // The control of the following runs (none: they cannot be stopped), and
    // the timeout in seconds that its timeout stop names.
    void SetControl(CRunControl* control, int timeoutSeconds = 0) noexcept {
        m_pControl = control;
        m_nTimeout = timeoutSeconds;
    }

    // Where the following runs hand their result sets (none: the table).
    void SetResultPrinter(CResultPrinter* printer) noexcept { m_pPrinter = printer; }

    // Where the following runs record their history entry (none: only the
    // history list gets it): when the script goes into the list, with the
    // connection's data source and user name, the counts, whether the run
    // was stopped and how long it took, on the thread that runs.
    void SetRecorder(CHistoryRecorder* recorder) noexcept { m_pRecorder = recorder; }

private:
    enum class Outcome { Blank, Succeeded, Failed, Stopped };

    // With end, the statement text only names the transaction's end, which
    // runs instead of the statement.
    Outcome RunStatement(std::string_view statement, const CSettingsRecord& settings, int number = 0,
                         std::optional<TransactionEnd> end = {});
    bool Reconnect();
    bool StopRequested() const noexcept;
    void ReportStatement(std::string_view text, const StatementSpan& span, std::size_t outputBegin,
                         std::size_t outputEnd, Outcome outcome, const CommentSyntax& syntax);
    void PrintStopped(COutputSink& output);
    void PrintWarning(const DiagRecord& warning);

    CDbConnection& m_connection;
    CHistoryList& m_history;
    COutputSink& m_output;
    CRunHost& m_host;
    COutputSink* m_pOut;   // m_output, or the spool tee while a run spools
    CLineTrackingSink* m_pLines = nullptr;   // the line tracker of the run, when one runs
    CRunControl* m_pControl = nullptr;
    int m_nTimeout = 0;
    std::string m_strLastFailure;   // the message of the statement that failed last
    CResultPrinter* m_pPrinter = nullptr;
    CHistoryRecorder* m_pRecorder = nullptr;
    std::function<void()> m_reconnect;
};
