#include "exec/script_runner.h"

#include "common/display_text.h"
#include "common/exception.h"
#include "db/db_exception.h"
#include "exec/error_position.h"
#include "exec/result_formatter.h"
#include "exec/spool_tee.h"
#include "script/settings_syntax.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <new>
#include <optional>
#include <string>

namespace {

// A failure message is printed as at most this many bytes less one.
constexpr std::size_t kMessageCapacity = 800;

// The C isspace set in the "C" locale; bytes from 0x80 up are never blank.
bool IsBlank(char c) noexcept { return c == ' ' || (c >= '\t' && c <= '\r'); }

// The line (from 1) of the NUL byte that ends what the reader cuts into
// statements, when text other than blanks and NUL bytes follows it; else 0.
int LineOfCuttingNul(const std::string& script) {
    const std::size_t nul = script.find('\0');
    if (nul == std::string::npos) return 0;
    bool textFollows = false;
    for (std::size_t i = nul; i < script.size() && !textFollows; ++i)
        textFollows = script[i] != '\0' && !IsBlank(script[i]);
    if (!textFollows) return 0;
    return 1 + static_cast<int>(std::count(script.begin(), script.begin() + static_cast<std::ptrdiff_t>(nul), '\n'));
}

// Points the runner's output at the spool tee for the length of a run and
// back at the plain output on every way out.
class COutputRedirect {
public:
    COutputRedirect(COutputSink*& target, COutputSink& during) noexcept : m_target(target), m_previous(target) {
        m_target = &during;
    }
    ~COutputRedirect() { m_target = m_previous; }
    COutputRedirect(const COutputRedirect&) = delete;
    COutputRedirect& operator=(const COutputRedirect&) = delete;

private:
    COutputSink*& m_target;
    COutputSink* m_previous;
};

// The output of one run from its start to its end: the spool file teed in
// when spooling is on, and a line tracker over it that the runner's output
// points at meanwhile.
class CRunOutputScope {
public:
    CRunOutputScope(COutputSink& output, const CSettingsRecord& settings, COutputSink*& target,
                    CLineTrackingSink*& lines)
        : m_spool(settings.EnableSpool ? std::make_unique<CSpoolTee>(output, settings.SpoolFile) : nullptr),
          m_lines(m_spool && m_spool->IsOpen() ? static_cast<COutputSink&>(*m_spool) : output),
          m_redirect(target, m_lines),
          m_linesTarget(lines) {
        m_linesTarget = &m_lines;
    }
    ~CRunOutputScope() { m_linesTarget = nullptr; }
    CRunOutputScope(const CRunOutputScope&) = delete;
    CRunOutputScope& operator=(const CRunOutputScope&) = delete;

    CLineTrackingSink& Lines() noexcept { return m_lines; }
    // Closes the spool file (later text reaches the output only); true when
    // a write to it failed.
    bool CloseSpool() {
        if (!m_spool) return false;
        m_spool->Close();
        return m_spool->WriteFailed();
    }

private:
    std::unique_ptr<CSpoolTee> m_spool;
    CLineTrackingSink m_lines;
    COutputRedirect m_redirect;
    CLineTrackingSink*& m_linesTarget;
};

// Suspends the output pane's redrawing for one statement; resuming repaints.
// Resuming can fail as any hand-over to the window can (out of memory); the
// failure stays here, since it must not leave a destructor, and the window
// side resumes whatever is still suspended when the run ends.
class CRedrawSuspension {
public:
    explicit CRedrawSuspension(CRunHost& host) : m_host(host) { m_host.SuspendOutputRedraw(); }
    ~CRedrawSuspension() {
        try {
            m_host.ResumeOutputRedraw();
        } catch (...) {
        }
    }
    CRedrawSuspension(const CRedrawSuspension&) = delete;
    CRedrawSuspension& operator=(const CRedrawSuspension&) = delete;

private:
    CRunHost& m_host;
};

// Attaches the connection's statements to the run control for a run.
class CCancellerScope {
public:
    CCancellerScope(CDbConnection& connection, CRunControl* control) noexcept : m_connection(connection) {
        if (control) m_connection.SetCanceller(&control->Canceller());
    }
    ~CCancellerScope() { m_connection.SetCanceller(nullptr); }
    CCancellerScope(const CCancellerScope&) = delete;
    CCancellerScope& operator=(const CCancellerScope&) = delete;

private:
    CDbConnection& m_connection;
};

}  // namespace

CScriptRunner::CScriptRunner(CDbConnection& connection, CHistoryList& history, COutputSink& output, CRunHost& host)
    : m_connection(connection), m_history(history), m_output(output), m_host(host), m_pOut(&output) {}

RunSummary CScriptRunner::Run(CStatementSource& script, const CSettingsRecord& settings, bool stopOnError) {
    RunSummary summary;
    const auto runStarted = std::chrono::steady_clock::now();
    m_host.SetStatusText("Executing...");

    CRunOutputScope runOutput(m_output, settings, m_pOut, m_pLines);
    CLineTrackingSink& lines = runOutput.Lines();
    CCancellerScope cancellable(m_connection, m_pControl);

    if (!m_connection.IsConnected()) {
        m_pOut->AppendText("not connected\r\n");
        summary.spoolFailed = runOutput.CloseSpool();
        m_host.SetStatusText("");
        return summary;
    }
    summary.connected = true;

    const bool verbose = settings.EnableOutput != 0;
    if (!verbose) {
        m_pOut->AppendText("Executing...\r\n");
        m_host.RepaintOutput();
    }

    script.ResetReader();
    std::string statement;
    while (script.GetNextStatement(statement)) {
        if (StopRequested()) {
            // Asked to stop between two statements.
            PrintStopped(lines);
            break;
        }
        if (m_connection.IsLost() && m_reconnect && !Reconnect()) {
            ++summary.failures;
            break;
        }
        Outcome outcome;
        const std::size_t outputBegin = lines.Bytes();
        if (verbose) {
            CRedrawSuspension suspended(m_host);
            outcome = RunStatement(statement, settings, summary.statements + 1);
        } else {
            outcome = RunStatement(statement, settings, summary.statements + 1);
        }
        if (outcome == Outcome::Blank) continue;
        ReportStatement(statement, script.LastSpan(), outputBegin, lines.Bytes(), outcome, CommentSyntaxOf(settings));
        ++summary.statements;
        if (outcome == Outcome::Stopped) break;
        if (outcome == Outcome::Failed) {
            ++summary.failures;
            if (stopOnError) break;
        }
    }
    if (m_pControl) {
        m_pControl->EndStatement();
        summary.stop = m_pControl->StopRequested();
    }

    // A stopped run did not get to the NUL byte.
    if (summary.stop == CRunControl::Stop::None) summary.nulLine = LineOfCuttingNul(script.ScriptText());
    if (summary.nulLine > 0)
        m_pOut->AppendText("The script holds a NUL byte at line " + std::to_string(summary.nulLine) +
                           "; the text after it was not run.\r\n");

    m_history.Append(script.ScriptText());
    if (m_pRecorder) {
        const auto elapsed = std::chrono::steady_clock::now() - runStarted;
        m_pRecorder->Record(HistoryRecord{
            .script = script.ScriptText(),
            .dataSource = m_connection.DataSource(),
            .userName = m_connection.UserName(),
            .statements = summary.statements,
            .failures = summary.failures,
            .cancelled = summary.stop != CRunControl::Stop::None,
            .elapsedMs = std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count()});
    }
    summary.spoolFailed = runOutput.CloseSpool();
    m_host.SelectAllScript();
    m_host.SetStatusText(m_connection.IsLost() ? kConnectionLostText : "");
    // The spool file is closed by now: this line reaches the pane only.
    if (!verbose) m_output.AppendText("Script execution complete\r\n");
    return summary;
}

RunSummary CScriptRunner::EndTransaction(TransactionEnd end, const CSettingsRecord& settings) {
    RunSummary summary;
    CRunOutputScope runOutput(m_output, settings, m_pOut, m_pLines);
    if (m_connection.IsConnected()) {
        summary.connected = true;
        CSettingsRecord verbose = settings;
        verbose.EnableOutput = 1;
        const bool commit = end == TransactionEnd::Commit;
        const Outcome outcome = RunStatement(commit ? "commit" : "rollback", verbose, 1, end);
        summary.statements = 1;
        summary.failures = outcome == Outcome::Failed ? 1 : 0;
    } else {
        m_pOut->AppendText("not connected\r\n");
    }
    if (m_pControl) m_pControl->EndStatement();
    summary.spoolFailed = runOutput.CloseSpool();
    m_host.SetStatusText(m_connection.IsLost() ? kConnectionLostText : "");
    return summary;
}

// Connects again for the next statement; false when the connect failed,
// after its error.
bool CScriptRunner::Reconnect() {
    try {
        m_reconnect();
        return true;
    } catch (const CException& failure) {
        if (m_pLines) m_pLines->StartLine();
        m_pOut->AppendWrapped(failure.GetErrorMessage(kMessageCapacity));
        return false;
    }
}

bool CScriptRunner::ExecuteStatement(std::string_view statement, const CSettingsRecord& settings) {
    return RunStatement(statement, settings) != Outcome::Failed;
}

// Tells the host where the statement stands and how it ended.
void CScriptRunner::ReportStatement(std::string_view text, const StatementSpan& span, std::size_t outputBegin,
                                    std::size_t outputEnd, Outcome outcome, const CommentSyntax& syntax) {
    CRunMap::Statement statement;
    statement.scriptBegin = span.content;
    statement.scriptEnd = span.end;
    statement.outputBegin = outputBegin;
    statement.outputEnd = outputEnd;
    statement.outcome = outcome == Outcome::Failed    ? CRunMap::Outcome::Failed
                        : outcome == Outcome::Stopped ? CRunMap::Outcome::Stopped
                                                      : CRunMap::Outcome::Succeeded;
    if (outcome == Outcome::Failed) {
        // The diagnostic on one line, as the status bar shows it.
        for (const char c : m_strLastFailure)
            if (c != '\r' && c != '\n') statement.message += c;
            else if (!statement.message.empty() && statement.message.back() != ' ') statement.message += ' ';
        while (!statement.message.empty() && statement.message.back() == ' ') statement.message.pop_back();
        // The spot the message names, in the text as it was sent (from its
        // first non-blank byte).
        std::size_t blanks = 0;
        while (blanks < text.size() && IsBlank(text[blanks])) ++blanks;
        if (const auto spot = LocateError(m_strLastFailure, text.substr(blanks), syntax)) {
            statement.errorBegin = span.begin + blanks + spot->offset;
            statement.errorEnd = statement.errorBegin + spot->length;
        }
    }
    m_host.StatementRan(statement);
}

bool CScriptRunner::StopRequested() const noexcept {
    return m_pControl && m_pControl->StopRequested() != CRunControl::Stop::None;
}

void CScriptRunner::PrintStopped(COutputSink& output) {
    if (m_pLines) m_pLines->StartLine();
    if (m_pControl->StopRequested() == CRunControl::Stop::Timeout)
        output.AppendText("Execution cancelled: timeout after " + std::to_string(m_nTimeout) + " s\r\n");
    else
        output.AppendText("Execution cancelled\r\n");
}

CScriptRunner::Outcome CScriptRunner::RunStatement(std::string_view statement, const CSettingsRecord& settings,
                                                   int number, std::optional<TransactionEnd> end) {
    std::size_t blanks = 0;
    while (blanks < statement.size() && IsBlank(statement[blanks])) ++blanks;
    const std::string_view text = statement.substr(blanks);
    if (text.empty()) return Outcome::Blank;
    if (m_pControl) m_pControl->BeginStatement(number);
    const auto started = std::chrono::steady_clock::now();

    const bool verbose = settings.EnableOutput != 0;
    bool echoed = false;
    const auto echo = [&] {
        echoed = true;
        m_pOut->AppendText("SQL> ");
        m_pOut->AppendText(text);
    };

    std::string message;
    bool stopPrinted = false;
    try {
        if (verbose) echo();
        ExecuteResult result;
        if (end)
            m_connection.EndTransaction(*end == TransactionEnd::Commit);
        else
            result = m_connection.Execute(text);
        // Without verbose output a statement with a warning is echoed like a
        // failing one, so the warning stands under its statement.
        if (result.warning) {
            if (!echoed) echo();
            PrintWarning(*result.warning);
        }
        if (result.statement) {
            if (!echoed) echo();
            if (m_pPrinter)
                m_pPrinter->Print(*result.statement, text, m_pControl, *m_pOut);
            else
                CResultFormatter(settings.DefColLen, settings.MaxColLen, m_pControl, settings.NullText)
                    .Print(*result.statement, *m_pOut);
            // Stopped in the middle of the rows: the line comes before the
            // driver frees the rest of them, which can take a while.
            if (StopRequested()) {
                PrintStopped(*m_pOut);
                stopPrinted = true;
            }
            result.statement->Close();
        } else if (verbose) {
            m_pOut->AppendText("\r\nok\r\n");
        } else if (result.warning) {
            m_pOut->AppendText("\r\n");
        }
    } catch (const CDBException& failure) {
        // The driver's report of a timeout it enforced (HYT00, or its own
        // cancel once the time is up, as PostgreSQL's 57014) is a timeout stop.
        if (m_pControl && m_nTimeout > 0 &&
            (failure.SqlState() == "HYT00" || m_pControl->StatementElapsed() >= std::chrono::seconds(m_nTimeout)))
            m_pControl->RequestStop(CRunControl::Stop::Timeout);
        if (!verbose && !echoed && !StopRequested()) echo();
        if (failure.MeansConnectionLost()) m_connection.MarkLost();
        // A cancelled statement's error ("interrupted", "canceling statement
        // due to user request") is not printed: the stop line says it.
        if (!StopRequested()) message = failure.GetErrorMessage(kMessageCapacity);
    } catch (const CException& failure) {
        if (!verbose && !echoed) echo();
        message = failure.GetErrorMessage(kMessageCapacity);
    } catch (const std::bad_alloc&) {
        if (!verbose && !echoed) echo();
        // On a line of its own under the statement, like every other failure.
        message = "\r\nOut of memory.\r\n";
    }
    if (StopRequested()) {
        if (!stopPrinted) PrintStopped(*m_pOut);
        return Outcome::Stopped;
    }
    m_strLastFailure = message;
    if (!message.empty()) m_pOut->AppendWrapped(message);
    if (settings.ShowTiming && echoed) {
        const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - started;
        char line[64];
        const int length = std::snprintf(line, sizeof line, "Elapsed: %.3f s\r\n", seconds.count());
        m_pOut->AppendVolatile(std::string_view(line, static_cast<std::size_t>(length)));
    }
    return message.empty() ? Outcome::Succeeded : Outcome::Failed;
}

void CScriptRunner::PrintWarning(const DiagRecord& warning) {
    std::string message = warning.valid ? "\r\nWarning: " + warning.text + " SQLSTATE = " + warning.sqlState
                                        : std::string("\r\nWarning: SQLGetDiagRec failed");
    message.resize(display_text::PrefixForBytes(message, kMessageCapacity - 1));
    m_pOut->AppendWrapped(message);
}
