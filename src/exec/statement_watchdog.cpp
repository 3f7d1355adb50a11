#include "exec/statement_watchdog.h"

CStatementWatchdog::CStatementWatchdog(CRunControl& control, std::chrono::seconds limit)
    : m_control(control), m_limit(limit), m_thread([this] { Watch(); }) {}

CStatementWatchdog::~CStatementWatchdog() {
    {
        std::lock_guard lock(m_mutex);
        m_bEnd = true;
    }
    m_cvEnd.notify_one();
    m_thread.join();
}

void CStatementWatchdog::Watch() {
    std::unique_lock lock(m_mutex);
    while (!m_cvEnd.wait_for(lock, std::chrono::milliseconds(20), [this] { return m_bEnd; })) {
        if (m_control.StatementElapsed() >= m_limit && m_control.StopRequested() == CRunControl::Stop::None)
            m_control.RequestStop(CRunControl::Stop::Timeout);
    }
}
