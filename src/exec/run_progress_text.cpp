#include "exec/run_progress_text.h"

#include <chrono>
#include <cstdio>

namespace {

// 1234567 as "1,234,567".
std::string WithThousands(std::int64_t value) {
    std::string digits = std::to_string(value < 0 ? 0 : value);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) digits.insert(static_cast<std::size_t>(at), ",");
    return digits;
}

}  // namespace

std::string RunProgressText(const CRunControl::Progress& progress) {
    if (progress.statement <= 0) return "Executing...";
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(progress.elapsed).count();
    char clock[32];
    std::snprintf(clock, sizeof clock, "%lld:%02lld", static_cast<long long>(seconds / 60),
                  static_cast<long long>(seconds % 60));
    std::string text = "Executing statement " + std::to_string(progress.statement) + ": ";
    if (progress.inResult) text += WithThousands(progress.rows) + (progress.rows == 1 ? " row, " : " rows, ");
    return text + clock;
}
