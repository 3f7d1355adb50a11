#pragma once

#include <sql.h>

#include <mutex>

// Lets another thread stop the statement that a connection is working on.
// The thread that runs the statement attaches its handle while the driver
// executes it; Cancel, from any thread, calls SQLCancel on the attached
// handle. No other call is made on the handle while a Cancel uses it, and a
// Cancel that comes while no handle is attached is remembered: the next
// Attach cancels at once, so a request that falls between two statements is
// not lost.
class CStatementCanceller {
public:
    CStatementCanceller() = default;
    CStatementCanceller(const CStatementCanceller&) = delete;
    CStatementCanceller& operator=(const CStatementCanceller&) = delete;

    void Attach(SQLHSTMT hstmt);
    void Detach() noexcept;
    // Requests the stop; returns at once after SQLCancel returned (or at once
    // when no statement is attached).
    void Cancel();
    // Forgets a request (a new run starts).
    void Reset() noexcept;
    bool Requested() const;

private:
    mutable std::mutex m_mutex;
    SQLHSTMT m_hstmt = SQL_NULL_HSTMT;
    bool m_bRequested = false;
};

// Attaches a handle to a canceller (if any) for the life of the scope.
class CCancellableScope {
public:
    CCancellableScope(CStatementCanceller* canceller, SQLHSTMT hstmt) : m_pCanceller(canceller) {
        if (m_pCanceller) m_pCanceller->Attach(hstmt);
    }
    ~CCancellableScope() {
        if (m_pCanceller) m_pCanceller->Detach();
    }
    CCancellableScope(const CCancellableScope&) = delete;
    CCancellableScope& operator=(const CCancellableScope&) = delete;

private:
    CStatementCanceller* m_pCanceller;
};
