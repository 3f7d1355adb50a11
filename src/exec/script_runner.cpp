#include "exec/script_runner.h"

#include "common/display_text.h"
#include "common/exception.h"
#include "db/db_exception.h"
#include "exec/result_formatter.h"
#include "exec/spool_tee.h"

#include <algorithm>
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

}  // namespace

CScriptRunner::CScriptRunner(CDbConnection& connection, CHistoryList& history, COutputSink& output, CRunHost& host)
    : m_connection(connection), m_history(history), m_output(output), m_host(host), m_pOut(&output) {}

RunSummary CScriptRunner::Run(CStatementSource& script, const CSettingsRecord& settings, bool stopOnError) {
    RunSummary summary;
    m_host.SetStatusText("Executing...");

    std::optional<CSpoolTee> spool;
    if (settings.EnableSpool) spool.emplace(m_output, settings.SpoolFile);
    COutputRedirect redirect(m_pOut, spool && spool->IsOpen() ? static_cast<COutputSink&>(*spool) : m_output);

    if (!m_connection.IsConnected()) {
        m_pOut->AppendText("not connected\r\n");
        if (spool) {
            spool->Close();
            summary.spoolFailed = spool->WriteFailed();
        }
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
        Outcome outcome;
        if (verbose) {
            CRedrawSuspension suspended(m_host);
            outcome = RunStatement(statement, settings);
        } else {
            outcome = RunStatement(statement, settings);
        }
        if (outcome == Outcome::Blank) continue;
        ++summary.statements;
        if (outcome == Outcome::Failed) {
            ++summary.failures;
            if (stopOnError) break;
        }
    }

    summary.nulLine = LineOfCuttingNul(script.ScriptText());
    if (summary.nulLine > 0)
        m_pOut->AppendText("The script holds a NUL byte at line " + std::to_string(summary.nulLine) +
                           "; the text after it was not run.\r\n");

    m_history.Append(script.ScriptText());
    if (spool) {
        spool->Close();
        summary.spoolFailed = spool->WriteFailed();
    }
    m_host.SelectAllScript();
    m_host.SetStatusText(m_connection.IsLost() ? kConnectionLostText : "");
    // The spool file is closed by now: this line reaches the pane only.
    if (!verbose) m_output.AppendText("Script execution complete\r\n");
    return summary;
}

bool CScriptRunner::ExecuteStatement(std::string_view statement, const CSettingsRecord& settings) {
    return RunStatement(statement, settings) != Outcome::Failed;
}

CScriptRunner::Outcome CScriptRunner::RunStatement(std::string_view statement, const CSettingsRecord& settings) {
    std::size_t blanks = 0;
    while (blanks < statement.size() && IsBlank(statement[blanks])) ++blanks;
    const std::string_view text = statement.substr(blanks);
    if (text.empty()) return Outcome::Blank;

    const bool verbose = settings.EnableOutput != 0;
    bool echoed = false;
    const auto echo = [&] {
        echoed = true;
        m_pOut->AppendText("SQL> ");
        m_pOut->AppendText(text);
    };

    std::string message;
    try {
        if (verbose) echo();
        ExecuteResult result = m_connection.Execute(text);
        // Without verbose output a statement with a warning is echoed like a
        // failing one, so the warning stands under its statement.
        if (result.warning) {
            if (!echoed) echo();
            PrintWarning(*result.warning);
        }
        if (result.statement) {
            if (!echoed) echo();
            CResultFormatter(settings.DefColLen, settings.MaxColLen).Print(*result.statement, *m_pOut);
            result.statement->Close();
        } else if (verbose) {
            m_pOut->AppendText("\r\nok\r\n");
        } else if (result.warning) {
            m_pOut->AppendText("\r\n");
        }
        return Outcome::Succeeded;
    } catch (const CDBException& failure) {
        if (!verbose && !echoed) echo();
        if (failure.MeansConnectionLost()) m_connection.MarkLost();
        message = failure.GetErrorMessage(kMessageCapacity);
    } catch (const CException& failure) {
        if (!verbose && !echoed) echo();
        message = failure.GetErrorMessage(kMessageCapacity);
    } catch (const std::bad_alloc&) {
        if (!verbose && !echoed) echo();
        // On a line of its own under the statement, like every other failure.
        message = "\r\nOut of memory.\r\n";
    }
    m_pOut->AppendWrapped(message);
    return Outcome::Failed;
}

void CScriptRunner::PrintWarning(const DiagRecord& warning) {
    std::string message = warning.valid ? "\r\nWarning: " + warning.text + " SQLSTATE = " + warning.sqlState
                                        : std::string("\r\nWarning: SQLGetDiagRec failed");
    message.resize(display_text::PrefixForBytes(message, kMessageCapacity - 1));
    m_pOut->AppendWrapped(message);
}
