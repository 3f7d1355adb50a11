#pragma once

#include "runner/run_options.h"
#include "runner/stop_signals.h"

#include <string>
#include <vector>

// The whole of tarnwell-run: the command line, the settings, the scripts, the
// password, the connection and one run of the engine per script, with the
// transcript on standard output (or, in a data format, the result sets there
// and the rest of the transcript on standard error) and every diagnostic on
// standard error, as one line; then the comparison with the expected
// transcript, or its update.
class CBatchRunner {
public:
    enum ExitStatus : int {
        kSuccess = 0,          // every statement succeeded
        kStatementFailed = 1,  // a statement failed or timed out, or the transcript could not be written
        kUsage = 2,            // bad command line, or the connect failed
        kUnreadableScript = 3, // a script file, or the expected transcript, could not be read; nothing ran
        kTranscriptDiffers = 4, // the transcript is not the expected one (--expect)
    };
    // A SIGINT or SIGTERM ends the program with 128 + the signal's number
    // (130, 143), from a stopped run after its transcript.

    // args: the arguments after the program name. Returns the exit status.
    static int Main(const std::vector<std::string>& args);

    // --doctor: connects and disconnects, prints the outcome and the ODBC
    // report on standard output; kSuccess when it connected, else kUsage.
    static int Doctor(const CRunOptions& options);

    // Runs parsed options (action kRun); signals stop the run.
    static int Run(const CRunOptions& options, CStopSignals& signals);

    // A database message on one line: the line breaks around it dropped, the
    // ones inside it turned into blanks.
    static std::string OneLine(const std::string& message);
};
