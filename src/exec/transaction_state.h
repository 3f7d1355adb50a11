#pragma once

// Where the worksheet's connection stands with transactions: whether its
// statements run in autocommit mode, and whether statements have run since
// the last commit or rollback (an open transaction). Autocommit is what the
// user chose (the AutoCommit setting) unless the connection reports no
// transaction support; then it stays on, and that is said once per connection.
class CTransactionState {
public:
    // A connect succeeded (connected) or left the window without a
    // connection: nothing is open any more.
    void Connected(bool connected, bool supportsTransactions) noexcept;
    void SetAutoCommitWanted(bool on) noexcept { m_bWanted = on; }
    bool AutoCommitWanted() const noexcept { return m_bWanted; }

    // What the connection's autocommit mode is to be.
    bool AutoCommit() const noexcept { return m_bWanted || !m_bSupported; }
    // Commit and Rollback have something to end (or may have).
    bool ManualCommit() const noexcept { return m_bConnected && !AutoCommit(); }

    // A statement ran (also one that failed: the driver began the
    // transaction for it).
    void StatementRan() noexcept { m_bOpen = m_bOpen || ManualCommit(); }
    // A commit or rollback succeeded, or the connection was lost with the
    // transaction.
    void Ended() noexcept { m_bOpen = false; }
    bool IsOpen() const noexcept { return m_bOpen; }

    // True the first time on this connection that manual commit is wanted
    // but the connection has no transactions: the caller says so.
    bool TakeNoTransactionsNotice() noexcept;

private:
    bool m_bWanted = true;
    bool m_bConnected = false;
    bool m_bSupported = false;
    bool m_bOpen = false;
    bool m_bNoticeGiven = false;
};
