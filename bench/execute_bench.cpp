// The worksheet's own Execute, timed: starts the real application (main frame,
// script and output panes, settings from $XDG_CONFIG_HOME) on the display,
// connects the frame to a data source, puts a script into the script pane and
// runs the Execute command the way Ctrl+Enter does. The run goes on on a
// worker thread while this thread serves the window's event loop, as the
// program's main loop does, until the run has ended. The timed part runs
// from the command to the moment the window has handled everything the run
// left for it (the last repaint included), so it covers the statements, the
// result formatter and the output pane, and the spool file when asked.
//
//   bench_execute --dsn NAME [--user NAME] [--spool FILE] [--script] [--probe]
//                 [--plain] [--complete] [--cancel running|rows] STATEMENT|FILE|TABLE
//
// --script: the argument names a script file, which goes into the script pane
// as it is (otherwise the argument is one statement, ";" is added).
// --probe: a 10 ms timer runs on the window thread during the run; adds
// "gap=G busy=U ticks=T first_row=F undrawn=D": the longest time between two
// of its events (from the command on), the most processor time the window
// thread used between two of them (a gap much longer than that is the
// machine's other work), their number, the time from the command to the
// first paint of the output pane that shows a result row, and from then on
// the longest time between two paints of the output pane (how long new rows
// can wait to be seen).
// --plain: the output pane's echo, error and warning lines get no colours
// of their own (what colouring them costs is the difference).
// --complete: no run. The catalog of the data source is read as the window
// reads it after connecting; once it is loaded, the completion list is asked
// for (as Ctrl+Space asks) at the caret of each of a few statements (the
// argument is a table's name), and "load=L complete=W" added: the seconds
// the catalog took to load and the longest time from the key to the list
// drawn.
// --cancel: sends the Cancel command (as Esc does) half a second after the
// statement's echo is in the output pane (running), or once result rows are
// in it (rows); adds "cancel=L": the time from the command to the moment
// "Execution cancelled" is in the pane, which the run must end with.
//
// The password comes from the environment variable TARNWELL_PASSWORD (empty
// when it is not set). Writes "bench: seconds=S cpu=C [rows=N] bytes=B ..."
// to standard error: N is the row count the transcript reports (when it
// reports one), B the output pane's length in bytes.

#include "odbc_session.h"
#include "app/command_ids.h"
#include "app/main_frame.h"
#include "app/tarnwell_app.h"
#include "editor/catalog_loader.h"
#include "editor/completion_list.h"
#include "panes/output_pane.h"
#include "panes/script_pane.h"
#include "script/script.h"

#include <wx/evtloop.h>
#include <wx/init.h>
#include <wx/stc/stc.h>
#include <wx/timer.h>
#include <wx/utils.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

wxIMPLEMENT_APP_NO_MAIN(CTarnwellApp);

namespace {

using Clock = std::chrono::steady_clock;

const char kUsage[] =
    "usage: bench_execute --dsn NAME [--user NAME] [--spool FILE] [--script] [--probe] [--plain] [--complete] [--cancel running|rows] "
    "STATEMENT|FILE|TABLE";
constexpr int kTickMilliseconds = 10;
// --cancel running: the statement's echo has been in the pane this long.
constexpr auto kCancelRunningAfter = std::chrono::milliseconds(500);
// --cancel rows: at least this many lines are in the pane.
constexpr int kCancelRowsAfterLines = 1000;
// A cancel that has not ended the run by then counts as failed.
constexpr auto kCancelDeadline = std::chrono::seconds(20);

enum class CancelWhen { Never, Running, Rows };

struct ExecuteOptions {
    bench::FloorOptions common;
    bool script = false;
    bool probe = false;
    bool plain = false;
    bool complete = false;
    CancelWhen cancel = CancelWhen::Never;
};

// Takes this program's own options out, the rest are the floors' options.
ExecuteOptions ParseOptions(int argc, char** argv) {
    ExecuteOptions options;
    std::vector<char*> rest{argv[0]};
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--script") {
            options.script = true;
        } else if (arg == "--probe") {
            options.probe = true;
        } else if (arg == "--plain") {
            options.plain = true;
        } else if (arg == "--complete") {
            options.complete = true;
        } else if (arg == "--cancel") {
            const std::string when = i + 1 < argc ? argv[++i] : "";
            if (when == "running") options.cancel = CancelWhen::Running;
            else if (when == "rows") options.cancel = CancelWhen::Rows;
            else throw std::runtime_error("--cancel takes running or rows");
        } else {
            rest.push_back(argv[i]);
        }
    }
    options.common = bench::ParseFloorOptions(static_cast<int>(rest.size()), rest.data(), kUsage);
    return options;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Handles every event that is waiting: window system, posted and idle.
void Pump() {
    for (int round = 0; round < 2; ++round) {
        wxTheApp->ProcessPendingEvents();
        wxTheApp->Yield(true);
    }
}

double Seconds(Clock::duration duration) { return std::chrono::duration<double>(duration).count(); }

// The last bytes of the control's text (a copy of all of it would add its
// size to the peak memory).
std::string Tail(wxStyledTextCtrl& control, int bytes) {
    const int length = control.GetTextLength();
    const wxCharBuffer tail = control.GetTextRangeRaw(std::max(length - bytes, 0), length);
    return std::string(tail.data(), tail.length());
}

// The number in the transcript's last "%d row(s) fetched" line, or -1.
long FetchedRows(const std::string& transcript) {
    static const std::string kTail = " row(s) fetched";
    const std::size_t tail = transcript.rfind(kTail);
    if (tail == std::string::npos) return -1;
    std::size_t start = tail;
    while (start > 0 && transcript[start - 1] >= '0' && transcript[start - 1] <= '9') --start;
    return start == tail ? -1 : std::stol(transcript.substr(start, tail - start));
}

// A result row is in the control: a line follows the dashes under the
// column names.
bool HasResultRow(wxStyledTextCtrl& control) {
    const int lines = std::min(control.GetLineCount(), 20);
    for (int line = 0; line + 1 < lines; ++line) {
        if (control.GetCharAt(control.PositionFromLine(line)) == '-')
            return control.LineLength(line + 1) > 0;
    }
    return false;
}

// Serves the window's event loop for one run of the Execute command and
// watches it: ends the loop once the run is over, and measures what the
// options ask for.
class CRunWatch : public wxEvtHandler {
public:
    CRunWatch(CMainFrame& frame, const ExecuteOptions& options)
        : m_frame(frame), m_output(*frame.OutputPane()->GetControl()), m_options(options), m_timer(this) {
        Bind(wxEVT_TIMER, &CRunWatch::OnTimer, this);
        wxTheApp->Bind(wxEVT_IDLE, &CRunWatch::OnIdle, this);
        if (m_options.probe) m_output.Bind(wxEVT_PAINT, &CRunWatch::OnPaint, this);
    }
    ~CRunWatch() override {
        wxTheApp->Unbind(wxEVT_IDLE, &CRunWatch::OnIdle, this);
        if (m_options.probe) m_output.Unbind(wxEVT_PAINT, &CRunWatch::OnPaint, this);
    }

    // Runs the command and the event loop until the run has ended and the
    // window has handled what it left.
    void Run() {
        m_start = m_lastTick = Clock::now();
        m_lastTickCpu = bench::ThreadCpuSeconds();
        if (m_options.probe || m_options.cancel != CancelWhen::Never) m_timer.Start(kTickMilliseconds);
        if (!m_frame.RunCommand(ID_EXECUTE)) throw std::runtime_error("the Execute command is disabled");
        m_loop.Run();
        m_timer.Stop();
        Pump();
        m_end = Clock::now();
        if (!m_failure.empty()) throw std::runtime_error(m_failure);
    }

    double Elapsed() const { return Seconds(m_end - m_start); }

    // " gap=... first_row=... cancel=..." as measured.
    std::string Figures() const {
        char text[160] = "";
        int used = 0;
        if (m_options.probe) {
            const double firstRow = m_firstRow ? Seconds(*m_firstRow - m_start) : -1;
            used += std::snprintf(text + used, sizeof text - used,
                                  " gap=%.3f busy=%.3f ticks=%d first_row=%.3f undrawn=%.3f", Seconds(m_longestGap),
                                  m_longestBusy, m_nTicks, firstRow, Seconds(m_longestUndrawn));
        }
        if (m_cancelled)
            std::snprintf(text + used, sizeof text - used, " cancel=%.3f", Seconds(*m_cancelled - *m_cancelSent));
        return text;
    }

private:
    void OnTimer(wxTimerEvent&) {
        const Clock::time_point now = Clock::now();
        m_longestGap = std::max(m_longestGap, now - m_lastTick);
        m_lastTick = now;
        const double cpu = bench::ThreadCpuSeconds();
        m_longestBusy = std::max(m_longestBusy, cpu - m_lastTickCpu);
        m_lastTickCpu = cpu;
        ++m_nTicks;
        if (m_options.cancel != CancelWhen::Never && !m_cancelSent && CancelDue(now)) {
            if (!m_frame.IsRunning()) {
                Fail("the run ended before the cancel");
                return;
            }
            m_cancelSent = Clock::now();
            if (!m_frame.RunCommand(ID_CANCEL_EXECUTION)) Fail("the Cancel command is disabled");
        }
        if (m_cancelSent && !m_cancelled && now - *m_cancelSent > kCancelDeadline) {
            // The driver did not stop the statement: nothing will end the run.
            std::fprintf(stderr, "bench_execute: the run was not cancelled within %lld s\n",
                         static_cast<long long>(kCancelDeadline.count()));
            std::_Exit(1);
        }
        Watch();
    }

    // After every round of events: the end of the run and the cancel
    // message are seen as soon as the pump that brought them is over.
    void OnIdle(wxIdleEvent& event) {
        event.Skip();
        Watch();
        if (!m_frame.IsRunning() && m_loop.IsRunning()) {
            // (The statement may have ended before the cancel, its output
            // still on the way to the pane.)
            if (m_cancelSent && !m_cancelled) Fail("the run ended without \"Execution cancelled\"");
            m_loop.Exit();
        }
    }

    void OnPaint(wxPaintEvent& event) {
        event.Skip();
        const Clock::time_point now = Clock::now();
        if (m_firstRow) {
            m_longestUndrawn = std::max(m_longestUndrawn, now - m_lastPaint);
        } else if (HasResultRow(m_output)) {
            m_firstRow = now;
        }
        m_lastPaint = now;
    }

    bool CancelDue(Clock::time_point now) {
        if (m_options.cancel == CancelWhen::Rows) return m_output.GetLineCount() >= kCancelRowsAfterLines;
        if (!m_echoSeen && m_output.GetTextLength() > 0) m_echoSeen = now;
        return m_echoSeen && now - *m_echoSeen >= kCancelRunningAfter;
    }

    void Watch() {
        if (m_cancelSent && !m_cancelled && Tail(m_output, 200).find("Execution cancelled") != std::string::npos)
            m_cancelled = Clock::now();
    }

    void Fail(const std::string& why) {
        if (m_failure.empty()) m_failure = why;
        m_timer.Stop();
    }

    CMainFrame& m_frame;
    wxStyledTextCtrl& m_output;
    const ExecuteOptions& m_options;
    wxTimer m_timer;
    wxGUIEventLoop m_loop;
    Clock::time_point m_start, m_end, m_lastTick, m_lastPaint;
    Clock::duration m_longestGap{};
    Clock::duration m_longestUndrawn{};
    double m_lastTickCpu = 0;
    double m_longestBusy = 0;
    int m_nTicks = 0;
    std::optional<Clock::time_point> m_firstRow, m_echoSeen, m_cancelSent, m_cancelled;
    std::string m_failure;
};

// The completion list at the caret ("|") of each statement: the longest
// time from the key to the list drawn.
double CompletionLatency(CScriptPane& pane, const std::string& table) {
    wxStyledTextCtrl& control = *pane.GetControl();
    double worst = 0;
    for (std::string text : {std::string("select * from |"), "select * from " + table.substr(0, 1) + "|",
                             "select * from " + table + "|", "select e.| from " + table + " e",
                             "select * from " + table + " e where e.|"}) {
        const std::size_t caret = text.find('|');
        text.erase(caret, 1);
        pane.SetText(std::string_view(text), false);
        control.GotoPos(static_cast<int>(caret));
        Pump();
        const auto start = Clock::now();
        pane.ShowCompletion(true);
        if (!control.AutoCompActive()) throw std::runtime_error("no completion list at: " + text);
        control.Update();
        Pump();
        worst = std::max(worst, Seconds(Clock::now() - start));
        control.AutoCompCancel();
    }
    return worst;
}

int BenchCompletion(CMainFrame& frame, const bench::FloorOptions& common) {
    const auto start = Clock::now();
    CCatalogLoader loader(common.dsn, common.user, common.password);
    while (!loader.Catalog()->Loaded()) {
        if (Clock::now() - start > std::chrono::minutes(10)) throw std::runtime_error("the catalog did not load");
        wxMilliSleep(10);
    }
    const double load = Seconds(Clock::now() - start);
    CCompletionList list;
    list.SetCatalog(loader.Catalog());
    frame.ScriptPane()->SetCompletionList(&list);
    const double worst = CompletionLatency(*frame.ScriptPane(), common.argument);
    frame.ScriptPane()->SetCompletionList(nullptr);
    if (frame.Script() != nullptr) frame.Script()->Modify(false);
    std::fprintf(stderr, "bench: load=%.3f complete=%.4f tables=%zu\n", load, worst,
                 loader.Catalog()->TableNames().size());
    return 0;
}

int Bench(const ExecuteOptions& options) {
    CMainFrame* frame = wxGetApp().GetMainFrame();
    if (frame == nullptr || frame->ScriptPane() == nullptr || frame->OutputPane() == nullptr ||
        frame->OutputPane()->GetControl() == nullptr)
        throw std::runtime_error("the main window did not come up");

    const bench::FloorOptions& common = options.common;
    if (options.complete) return BenchCompletion(*frame, common);
    if (options.plain) frame->OutputPane()->ColourLines(false);
    frame->Connection().Connect(common.dsn, common.user, common.password);
    CSettingsRecord& settings = frame->Settings();
    settings.EnableSpool = common.spool.empty() ? 0 : 1;
    if (!common.spool.empty()) settings.SpoolFile = common.spool;
    const std::string script = options.script ? ReadFile(common.argument) : common.argument + ";";
    frame->ScriptPane()->SetText(std::string_view(script), false);
    // The script is the benchmark's own: nothing to save at the end.
    if (frame->Script() != nullptr) frame->Script()->Modify(false);
    Pump();

    CRunWatch watch(*frame, options);
    const double cpuStart = bench::ProcessCpuSeconds();
    watch.Run();
    const double cpu = bench::ProcessCpuSeconds() - cpuStart;

    wxStyledTextCtrl& output = *frame->OutputPane()->GetControl();
    const long rows = FetchedRows(Tail(output, 200));
    std::fprintf(stderr, "bench: seconds=%.3f cpu=%.3f", watch.Elapsed(), cpu);
    if (rows >= 0 && options.cancel == CancelWhen::Never) std::fprintf(stderr, " rows=%ld", rows);
    std::fprintf(stderr, " bytes=%d%s\n", output.GetTextLength(), watch.Figures().c_str());
    frame->Connection().Disconnect();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    ExecuteOptions options;
    try {
        options = ParseOptions(argc, argv);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "bench_execute: %s\n", error.what());
        return 2;
    }
    // No Connect dialog (the frame is connected here) and message boxes on
    // standard error, so nothing waits for a person.
    setenv("TARNWELL_NO_CONNECT_DIALOG", "1", 1);
    setenv("TARNWELL_MESSAGE_BOXES", "stderr", 1);
    CTarnwellApp::SetArguments({});

    static char name[] = "bench_execute";
    char* args[] = {name, nullptr};
    int count = 1;
    if (!wxEntryStart(count, args)) {
        std::fprintf(stderr, "bench_execute: the toolkit could not start (no display? run under xvfb-run -a)\n");
        return 1;
    }
    int status = 1;
    if (wxTheApp->CallOnInit()) {
        try {
            status = Bench(options);
        } catch (const std::exception& error) {
            std::fprintf(stderr, "bench_execute: %s\n", error.what());
        }
        if (wxWindow* top = wxTheApp->GetTopWindow()) top->Destroy();
        Pump();
    } else {
        std::fprintf(stderr, "bench_execute: the application did not start\n");
    }
    wxTheApp->OnExit();
    wxEntryCleanup();
    return status;
}
