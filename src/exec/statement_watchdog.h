#pragma once

#include "exec/run_control.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

// Stops a run (a timeout stop) when one of its statements has run longer than
// the given time: a thread that looks at the run control's statement clock
// every few milliseconds. For drivers that do not honour the query timeout
// attribute; where the driver does, whichever comes first stops the statement.
class CStatementWatchdog {
public:
    CStatementWatchdog(CRunControl& control, std::chrono::seconds limit);
    ~CStatementWatchdog();
    CStatementWatchdog(const CStatementWatchdog&) = delete;
    CStatementWatchdog& operator=(const CStatementWatchdog&) = delete;

private:
    void Watch();

    CRunControl& m_control;
    std::chrono::seconds m_limit;
    std::mutex m_mutex;
    std::condition_variable m_cvEnd;
    bool m_bEnd = false;
    std::thread m_thread;
};
