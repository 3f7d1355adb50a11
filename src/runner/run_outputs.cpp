#include "runner/run_outputs.h"

#include <cstdio>
#include <unistd.h>

namespace {

// text with every "\r\n" as "\n", as the console writes it with LF line ends.
std::string WithLfLineEnds(std::string text) {
    std::size_t kept = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] != '\r' || i + 1 == text.size() || text[i + 1] != '\n') text[kept++] = text[i];
    text.resize(kept);
    return text;
}

}  // namespace

CRunOutputs::CRunOutputs(const CRunOptions& options, const CSettingsRecord& settings)
    : m_bTable(options.format == ResultFormat::kTable),
      m_bLfLineEnds(options.lfLineEnds),
      m_transcript(m_bTable ? stdout : stderr, options.wrapWidth, options.lfLineEnds) {
    if (!m_bTable) m_data.emplace(stdout, options.wrapWidth, false);
    if (!options.expectFile.empty()) m_copy.emplace(StandardOutput());
    m_pWriter = CResultWriter::Create(options.format, Results(), options.lfLineEnds, settings.NullText);
    if (m_pWriter) m_printer.emplace(*m_pWriter);
}

CConsoleRunHost CRunOutputs::Host() {
    return CConsoleRunHost(isatty(m_bTable ? STDOUT_FILENO : STDERR_FILENO) ? &m_transcript : nullptr,
                           m_data && isatty(STDOUT_FILENO) ? &*m_data : nullptr);
}

void CRunOutputs::Flush() {
    m_transcript.Flush();
    if (m_data) m_data->Flush();
}

int CRunOutputs::Finish() {
    m_transcript.Flush(true);
    if (m_data) m_data->Flush(true);
    return m_bTable ? m_transcript.Error() : m_data->Error();
}

std::string CRunOutputs::Copy() const {
    const std::string& copy = m_copy->Copy();
    return m_bTable && m_bLfLineEnds ? WithLfLineEnds(copy) : copy;
}
