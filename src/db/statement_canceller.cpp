#include "db/statement_canceller.h"

void CStatementCanceller::Attach(SQLHSTMT hstmt) {
    std::lock_guard lock(m_mutex);
    m_hstmt = hstmt;
    if (m_bRequested) SQLCancel(m_hstmt);
}

void CStatementCanceller::Detach() noexcept {
    std::lock_guard lock(m_mutex);
    m_hstmt = SQL_NULL_HSTMT;
}

void CStatementCanceller::Cancel() {
    std::lock_guard lock(m_mutex);
    m_bRequested = true;
    if (m_hstmt != SQL_NULL_HSTMT) SQLCancel(m_hstmt);
}

void CStatementCanceller::Reset() noexcept {
    std::lock_guard lock(m_mutex);
    m_bRequested = false;
}

bool CStatementCanceller::Requested() const {
    std::lock_guard lock(m_mutex);
    return m_bRequested;
}
