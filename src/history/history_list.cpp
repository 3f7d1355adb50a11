#include "history/history_list.h"

#include "common/display_text.h"

#include <algorithm>

namespace {

constexpr std::size_t kListLineChars = 99;
constexpr std::size_t kPreviewChars = 999;

std::string FirstChars(const std::string& entry, std::size_t maxChars) {
    return entry.substr(0, display_text::PrefixForChars(entry, maxChars));
}

}  // namespace

void CHistoryList::Append(std::string text) {
    // The cap is applied before the append, so the list holds at most 21.
    if (m_history.size() >= kMaxEntries) m_history.erase(m_history.begin());
    m_history.push_back(std::move(text));
    m_posHistory = m_history.size() - 1;
}

void CHistoryList::Restore(std::vector<std::string> entries) {
    if (entries.size() > kMaxEntries) entries.erase(entries.begin(), entries.end() - kMaxEntries);
    m_history = std::move(entries);
    m_posHistory = m_history.size();
}

void CHistoryList::SetCurrent(std::size_t index) {
    // An index that names no entry leaves the current entry as it was.
    if (index < m_history.size()) m_posHistory = index;
}

const std::string& CHistoryList::GoPrevious() {
    if (CanGoPrevious()) --m_posHistory;
    return Current();
}

const std::string& CHistoryList::GoNext() {
    if (CanGoNext()) ++m_posHistory;
    return Current();
}

std::string CHistoryList::ListLine(const std::string& entry) {
    std::string line = FirstChars(entry, kListLineChars);
    std::replace_if(line.begin(), line.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return line;
}

std::string CHistoryList::Preview(const std::string& entry) { return FirstChars(entry, kPreviewChars); }
