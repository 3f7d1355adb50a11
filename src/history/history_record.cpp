#include "history/history_record.h"

#include "history/history_list.h"

#include <ctime>

std::string HistoryRecord::ListLine() const {
    const std::time_t seconds = static_cast<std::time_t>(timeMs / 1000);
    std::tm local{};
    char when[32] = "";
    if (localtime_r(&seconds, &local)) std::strftime(when, sizeof when, "%Y-%m-%d %H:%M", &local);
    const std::string firstLine = script.substr(0, script.find_first_of("\r\n"));
    return std::string(when) + "  " + dataSource + "  " + CHistoryList::ListLine(firstLine);
}
