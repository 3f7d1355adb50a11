#include "recovery/watched_file.h"

void CWatchedFile::Keep(const std::string& path, const CFileStamp& stamp) {
    m_path = path;
    m_stamp = stamp;
    m_offered = stamp;
    m_bKept = true;
}

void CWatchedFile::Forget() { *this = CWatchedFile(); }

bool CWatchedFile::ChangedOnDisk(const std::string& path) const {
    return m_bKept && path == m_path && CFileStamp::Of(path) != m_stamp;
}

bool CWatchedFile::TakeReloadOffer() {
    if (!m_bKept) return false;
    const CFileStamp now = CFileStamp::Of(m_path);
    if (!now.Exists() || now == m_stamp || now == m_offered) return false;
    m_offered = now;
    return true;
}
