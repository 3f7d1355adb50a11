#include "exec/run_control.h"

void CRunControl::BeginRun() {
    m_canceller.Reset();
    m_stop.store(Stop::None, std::memory_order_release);
    m_nStatement.store(0, std::memory_order_relaxed);
    m_rows.store(0, std::memory_order_relaxed);
    m_bInResult.store(false, std::memory_order_relaxed);
    m_statementStart.store(0, std::memory_order_relaxed);
    m_runStart.store(Now(), std::memory_order_relaxed);
}

void CRunControl::RequestStop(Stop reason) {
    Stop none = Stop::None;
    if (reason == Stop::None) return;
    if (m_stop.compare_exchange_strong(none, reason, std::memory_order_acq_rel)) m_stopTime.store(Now());
    m_canceller.Cancel();
}

std::chrono::steady_clock::time_point CRunControl::StopTime() const noexcept {
    return Clock::time_point(Clock::duration(m_stopTime.load()));
}

void CRunControl::BeginStatement(int number) noexcept {
    m_rows.store(0, std::memory_order_relaxed);
    m_bInResult.store(false, std::memory_order_relaxed);
    m_nStatement.store(number, std::memory_order_relaxed);
    m_statementStart.store(Now(), std::memory_order_release);
}

void CRunControl::EndStatement() noexcept { m_statementStart.store(0, std::memory_order_release); }

std::chrono::steady_clock::duration CRunControl::StatementElapsed() const noexcept {
    const std::int64_t start = m_statementStart.load(std::memory_order_acquire);
    return start == 0 ? Clock::duration::zero() : Clock::duration(Now() - start);
}

CRunControl::Progress CRunControl::GetProgress() const noexcept {
    Progress progress;
    progress.statement = m_nStatement.load(std::memory_order_relaxed);
    progress.rows = m_rows.load(std::memory_order_relaxed);
    progress.inResult = m_bInResult.load(std::memory_order_relaxed);
    progress.elapsed = Clock::duration(Now() - m_runStart.load(std::memory_order_relaxed));
    return progress;
}
