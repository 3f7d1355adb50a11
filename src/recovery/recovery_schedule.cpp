#include "recovery/recovery_schedule.h"

#include <functional>

bool CRecoverySchedule::IsDue(Clock::time_point now) const { return !m_lastLook || now - *m_lastLook >= kInterval; }

bool CRecoverySchedule::TakeText(Clock::time_point now, std::string_view text) {
    m_lastLook = now;
    const std::pair<std::size_t, std::size_t> identity{text.size(), std::hash<std::string_view>{}(text)};
    if (m_written == identity) return false;
    m_written = identity;
    return true;
}

void CRecoverySchedule::Reset() { *this = CRecoverySchedule(); }
