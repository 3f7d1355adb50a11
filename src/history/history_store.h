#pragma once

#include "history/history_record.h"
#include "history/history_recorder.h"

#include <atomic>
#include <cstddef>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

struct sqlite3;
class CHistoryList;

// The durable history: every recorded run in a SQLite database, newest kept,
// with a full-text index over the script, the data source and the user
// name. Several processes may write one file at once (write-ahead log and a
// busy timeout), and none of them loses an entry.
//
// Nothing the file holds or where it lives stops the program: a damaged
// file is moved aside and a new one made; a file that cannot be made or
// written (a read-only folder) leaves the history in memory for this
// session. Either says so in Message(), once, for the status bar.
//
// Thread-safe. Record, Newest and Fill share one connection under a lock;
// each Search opens a connection of its own and never waits for a write.
class CHistoryStore : public CHistoryRecorder {
public:
    static constexpr int kDefaultLimit = 10000;   // the HistoryLimit setting's default
    static constexpr std::size_t kMaxFound = 500;
    static constexpr int kBusyTimeoutMs = 5000;   // how long a write waits for another writer

    // Opens (or makes) the database at path, keeping the newest limit
    // entries; limit 0 keeps nothing on disk (the history of this session
    // stays in memory, the file is left alone).
    CHistoryStore(const std::string& path, int limit);
    ~CHistoryStore() override;
    CHistoryStore(const CHistoryStore&) = delete;
    CHistoryStore& operator=(const CHistoryStore&) = delete;

    // What opening the store came to, for the status bar; "" when all went well.
    const std::string& Message() const noexcept { return m_message; }
    bool OnDisk() const noexcept { return m_bOnDisk; }

    // Called (on the recording thread) with a message for the status bar
    // when a write fails; once, until a write succeeds again.
    void SetFailureHandler(std::function<void(const std::string&)> handler);

    // Adds an entry (its id is given here; a time of 0 means now) and drops
    // the oldest beyond the limit. A failure goes to the failure handler.
    void Record(const HistoryRecord& record) override;

    // The newest count entries, newest first.
    std::vector<HistoryRecord> Newest(std::size_t count) const;
    // Replaces list with the newest entries, as CHistoryList::Restore does.
    void Fill(CHistoryList& list) const;

    // The entries whose script, data source or user name hold every word of
    // words (each word also as the start of a longer one), newest first, at
    // most kMaxFound. Any text is a valid query: quotes, operators and
    // parentheses are matched as words. Blank words find nothing. A search
    // stops early, finding nothing, once *cancel becomes true.
    std::vector<HistoryRecord> Search(const std::string& words, const std::atomic<bool>* cancel = nullptr) const;

private:
    bool OpenFile(const std::string& path);
    void OpenMemory();
    int Open();
    void Close() noexcept;
    void ReportFailure(const std::string& what);

    int m_nLimit;
    std::string m_name;   // what sqlite3_open_v2 takes, for the search connections
    int m_nOpenFlags = 0;
    bool m_bOnDisk = false;
    std::string m_message;
    mutable std::mutex m_mutex;   // m_db, m_failureHandler, m_bFailing
    sqlite3* m_db = nullptr;
    std::function<void(const std::string&)> m_failureHandler;
    bool m_bFailing = false;
};
