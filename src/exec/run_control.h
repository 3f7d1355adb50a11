#pragma once

#include "db/statement_canceller.h"

#include <atomic>
#include <chrono>
#include <cstdint>

// What a running script shares with the threads around it: the request to
// stop it (from the window's Cancel, a signal or a timeout), which also
// cancels the statement the driver is working on, and the progress that a
// status bar shows. The run writes the progress, anyone may read it.
class CRunControl {
public:
    enum class Stop { None, User, Timeout };

    struct Progress {
        int statement = 0;          // number of the running statement in the run (from 1), 0 before the first
        std::int64_t rows = 0;      // rows fetched so far of its result set
        bool inResult = false;      // it has a result set
        std::chrono::steady_clock::duration elapsed{};   // since the run began
    };

    CRunControl() = default;
    CRunControl(const CRunControl&) = delete;
    CRunControl& operator=(const CRunControl&) = delete;

    // The run begins: no stop requested, no statement yet, the clock starts.
    void BeginRun();

    // Any thread: stops the run after the output of what already ran,
    // cancelling the running statement (SQLCancel). The first reason stays.
    void RequestStop(Stop reason);
    Stop StopRequested() const noexcept { return m_stop.load(std::memory_order_acquire); }
    // When the stop was requested (meaningful once it was).
    std::chrono::steady_clock::time_point StopTime() const noexcept;

    // The connection attaches its statements here.
    CStatementCanceller& Canceller() noexcept { return m_canceller; }

    // The run: a statement begins; its result set begins; one more row.
    void BeginStatement(int number) noexcept;
    void BeginResult() noexcept { m_bInResult.store(true, std::memory_order_relaxed); }
    void CountRow() noexcept { m_rows.fetch_add(1, std::memory_order_relaxed); }
    // The running statement's time so far (0 between statements).
    std::chrono::steady_clock::duration StatementElapsed() const noexcept;
    void EndStatement() noexcept;

    Progress GetProgress() const noexcept;

private:
    using Clock = std::chrono::steady_clock;
    static std::int64_t Now() noexcept { return Clock::now().time_since_epoch().count(); }

    CStatementCanceller m_canceller;
    std::atomic<Stop> m_stop{Stop::None};
    std::atomic<std::int64_t> m_stopTime{0};
    std::atomic<std::int64_t> m_runStart{0};
    std::atomic<std::int64_t> m_statementStart{0};   // 0: no statement running
    std::atomic<int> m_nStatement{0};
    std::atomic<std::int64_t> m_rows{0};
    std::atomic<bool> m_bInResult{false};
};
