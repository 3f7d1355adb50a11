#include "exec/spool_tee.h"

CSpoolTee::CSpoolTee(COutputSink& inner, const std::string& path)
    : m_inner(inner), m_pSpoolFile(std::fopen(path.c_str(), "ab")) {}

void CSpoolTee::Close() noexcept { m_pSpoolFile.reset(); }

void CSpoolTee::AppendText(std::string_view text) {
    m_inner.AppendText(text);
    // Write errors are not reported: the pane is what the user watches.
    if (m_pSpoolFile && !text.empty()) std::fwrite(text.data(), 1, text.size(), m_pSpoolFile.get());
}
