// The worksheet's own Execute, timed: starts the real application (main frame,
// script and output panes, settings from $XDG_CONFIG_HOME) on the display,
// connects the frame to a data source, puts one statement into the script pane
// and runs the Execute command the way Ctrl+Enter does. The timed part runs
// from the command to the moment the window has handled everything the run
// left for it to do (the last repaint included), so it covers the statement,
// the result formatter and the output pane, and the spool file when asked.
//
//   bench_execute --dsn NAME [--user NAME] [--spool FILE] STATEMENT
//
// The password comes from the environment variable TARNWELL_PASSWORD (empty
// when it is not set). Writes "bench: seconds=S cpu=C rows=N bytes=B" to standard
// error: N is the row count the transcript reports, B the output pane's
// length in bytes.

#include "odbc_session.h"
#include "app/command_ids.h"
#include "app/main_frame.h"
#include "app/tarnwell_app.h"
#include "panes/output_pane.h"
#include "panes/script_pane.h"
#include "script/script.h"

#include <wx/init.h>
#include <wx/stc/stc.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <stdexcept>
#include <string>
#include <vector>

wxIMPLEMENT_APP_NO_MAIN(CTarnwellApp);

namespace {

// Handles every event that is waiting: window system, posted and idle.
void Pump() {
    for (int round = 0; round < 2; ++round) {
        wxTheApp->ProcessPendingEvents();
        wxTheApp->Yield(true);
    }
}

// Processor time of this process so far (all threads), in seconds. The X
// server's share of drawing is not in it.
double ProcessCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + now.tv_nsec / 1e9;
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

int Bench(const bench::FloorOptions& options) {
    CMainFrame* frame = wxGetApp().GetMainFrame();
    if (frame == nullptr || frame->ScriptPane() == nullptr || frame->OutputPane() == nullptr)
        throw std::runtime_error("the main window did not come up");

    frame->Connection().Connect(options.dsn, options.user, options.password);
    CSettingsRecord& settings = frame->Settings();
    settings.EnableSpool = options.spool.empty() ? 0 : 1;
    if (!options.spool.empty()) settings.SpoolFile = options.spool;
    frame->ScriptPane()->SetText(std::string_view(options.argument + ";"), false);
    Pump();

    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = ProcessCpuSeconds();
    if (!frame->RunCommand(ID_EXECUTE)) throw std::runtime_error("the Execute command is disabled");
    Pump();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double cpu = ProcessCpuSeconds() - cpuStart;

    // Only the end of the transcript is read: a copy of all of it would add
    // its size to the peak memory.
    COutputPane& output = *frame->OutputPane();
    const int length = output.GetTextLength();
    const wxCharBuffer tail = output.GetControl()->GetTextRangeRaw(std::max(length - 200, 0), length);
    std::fprintf(stderr, "bench: seconds=%.3f cpu=%.3f rows=%ld bytes=%d\n", seconds, cpu,
                 FetchedRows(std::string(tail.data(), tail.length())), length);
    frame->Connection().Disconnect();
    // The script pane's text is the benchmark's own: nothing to save.
    if (frame->Script() != nullptr) frame->Script()->Modify(false);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    bench::FloorOptions options;
    try {
        options = bench::ParseFloorOptions(
            argc, argv, "usage: bench_execute --dsn NAME [--user NAME] [--spool FILE] STATEMENT");
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
