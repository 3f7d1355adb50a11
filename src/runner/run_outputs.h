#pragma once

#include "exec/data_printer.h"
#include "exec/result_writer.h"
#include "runner/console_run_host.h"
#include "runner/console_sink.h"
#include "runner/run_options.h"
#include "runner/transcript_copy.h"

#include <memory>
#include <optional>
#include <string>

// Where tarnwell-run writes. In the table format the transcript goes to
// standard output; in a data format the result sets do (through the format's
// writer, with their own line ends) and the rest of the transcript goes to
// standard error. With --expect a copy is kept of what goes to standard
// output, for comparing.
class CRunOutputs {
public:
    CRunOutputs(const CRunOptions& options, const CSettingsRecord& settings);
    CRunOutputs(const CRunOutputs&) = delete;
    CRunOutputs& operator=(const CRunOutputs&) = delete;

    // Where the script runner writes.
    COutputSink& Transcript() { return m_bTable ? Results() : m_transcript; }
    // The data format's printer; none for the table.
    CResultPrinter* Printer() { return m_printer ? &*m_printer : nullptr; }
    // On a terminal the outputs show statement by statement (the transcript
    // first); into a file or a pipe they go in large blocks.
    CConsoleRunHost Host();

    // Hands what is buffered to the streams (before a line of our own on
    // standard error).
    void Flush();
    // Writes everything out. Returns 0, or the errno of a failed write to
    // standard output.
    int Finish();
    // What standard output received, as the console wrote it (with LF line
    // ends where it turned CRLF into LF), without the volatile text. Only
    // with --expect.
    std::string Copy() const;

private:
    CConsoleSink& StandardOutput() { return m_bTable ? m_transcript : *m_data; }
    COutputSink& Results() { return m_copy ? static_cast<COutputSink&>(*m_copy) : StandardOutput(); }

    bool m_bTable;
    bool m_bLfLineEnds;
    CConsoleSink m_transcript;
    std::optional<CConsoleSink> m_data;
    std::optional<CTranscriptCopy> m_copy;
    std::unique_ptr<CResultWriter> m_pWriter;
    std::optional<CDataPrinter> m_printer;
};
