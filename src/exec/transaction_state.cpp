#include "exec/transaction_state.h"

void CTransactionState::Connected(bool connected, bool supportsTransactions) noexcept {
    m_bConnected = connected;
    m_bSupported = connected && supportsTransactions;
    m_bOpen = false;
    m_bNoticeGiven = false;
}

bool CTransactionState::TakeNoTransactionsNotice() noexcept {
    if (!m_bConnected || m_bWanted || m_bSupported || m_bNoticeGiven) return false;
    m_bNoticeGiven = true;
    return true;
}
