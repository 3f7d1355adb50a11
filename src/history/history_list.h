#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The scripts executed in this session, oldest first, with a current entry.
// Kept in memory; at start it can be filled from the durable history
// (CHistoryStore::Fill), which the runs record into.
class CHistoryList {
public:
    static constexpr std::size_t kMaxEntries = 21;

    // Drops the oldest entry when more than 20 are held, appends text as the
    // newest entry and makes it current.
    void Append(std::string text);

    // Replaces the list with entries (oldest first; the newest kMaxEntries
    // are kept) that come from an earlier session: none of them is current
    // yet, so GoPrevious brings back the newest and GoNext stays disabled.
    void Restore(std::vector<std::string> entries);

    bool IsEmpty() const noexcept { return m_history.empty(); }
    std::size_t Size() const noexcept { return m_history.size(); }
    const std::string& Entry(std::size_t index) const { return m_history.at(index); }

    // The current entry's index; only meaningful when not empty. After
    // Restore it is Size(), one past the newest, and names no entry.
    std::size_t CurrentIndex() const noexcept { return m_posHistory; }
    const std::string& Current() const { return m_history.at(m_posHistory); }
    void SetCurrent(std::size_t index);

    bool CanGoPrevious() const noexcept { return !IsEmpty() && m_posHistory > 0; }
    bool CanGoNext() const noexcept { return !IsEmpty() && m_posHistory + 1 < m_history.size(); }
    // Move the current entry one step older / newer and return its text.
    const std::string& GoPrevious();
    const std::string& GoNext();

    // The History dialog's list line of an entry: its first 99 characters with
    // every "\r" and "\n" shown as a blank.
    static std::string ListLine(const std::string& entry);
    // The dialog's preview of an entry: its first 999 characters.
    static std::string Preview(const std::string& entry);

private:
    std::vector<std::string> m_history;
    std::size_t m_posHistory = 0;
};
