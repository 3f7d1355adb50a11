#include "exec/spool_tee.h"

#include <cerrno>
#include <cstring>

CSpoolTee::CSpoolTee(COutputSink& inner, const std::string& path)
    : m_inner(inner), m_pSpoolFile(std::fopen(path.c_str(), "ab")) {}

void CSpoolTee::Close() {
    if (!m_pSpoolFile) return;
    errno = 0;
    if (std::fclose(m_pSpoolFile.release()) != 0) StopAfterWriteError(errno);
}

void CSpoolTee::AppendText(std::string_view text) {
    PassOn(text);
    Spool(text);
}

void CSpoolTee::AppendVolatile(std::string_view text) {
    PassOn(text, true);
    Spool(text);
}

void CSpoolTee::Spool(std::string_view text) {
    if (!m_pSpoolFile || text.empty()) return;
    errno = 0;
    if (std::fwrite(text.data(), 1, text.size(), m_pSpoolFile.get()) != text.size()) StopAfterWriteError(errno);
}

void CSpoolTee::PassOn(std::string_view text, bool isVolatile) {
    if (isVolatile)
        m_inner.AppendVolatile(text);
    else
        m_inner.AppendText(text);
    if (!text.empty()) m_bAtLineStart = text.back() == '\n';
}

void CSpoolTee::StopAfterWriteError(int error) {
    m_pSpoolFile.reset();
    m_bWriteFailed = true;
    const std::string reason = error != 0 ? std::strerror(error) : "unknown error";
    if (!m_bAtLineStart) PassOn("\r\n");
    PassOn("Spool file write failed: " + reason + "; spooling stopped.\r\n");
}
