#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string_view>

// When a modified script's text goes to its recovery file: the text is
// looked at once at the first chance after the script became modified and
// then at most every kInterval, and written only when it differs from the
// text written last. The clock is the caller's, so tests need not wait.
class CRecoverySchedule {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::seconds kInterval{5};

    // Whether the text should be looked at now.
    bool IsDue(Clock::time_point now) const;
    // Takes the text looked at now; true when it is to be written (it then
    // counts as written).
    bool TakeText(Clock::time_point now, std::string_view text);
    // The script became unmodified and its recovery file went: the next
    // change is written at the first chance.
    void Reset();

private:
    std::optional<Clock::time_point> m_lastLook;
    // What identifies the text written last (size and hash).
    std::optional<std::pair<std::size_t, std::size_t>> m_written;
};
