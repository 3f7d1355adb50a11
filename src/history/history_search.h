#pragma once

#include "history/history_record.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

class CHistoryStore;

// Searches a history store on a worker thread of its own, so that the
// window thread never waits for one. A newer query replaces an older one:
// one that still waits never runs, and one that runs is stopped and hands
// back nothing. Each search that finishes hands its query's number and the
// entries found to found(), on the worker thread; found() must not call
// back into this object.
class CHistorySearch {
public:
    using Found = std::function<void(std::uint64_t query, std::vector<HistoryRecord> records)>;

    // store must outlive this object.
    CHistorySearch(const CHistoryStore& store, Found found);
    // Stops the running search and waits for the worker, which takes a
    // moment: no found() call comes after this.
    ~CHistorySearch();
    CHistorySearch(const CHistorySearch&) = delete;
    CHistorySearch& operator=(const CHistorySearch&) = delete;

    // Queues a search for words and returns its number (increasing).
    std::uint64_t Start(std::string words);
    // Stops the running search and drops the waiting one.
    void Cancel();

private:
    void Work();

    const CHistoryStore& m_store;
    Found m_found;
    std::mutex m_mutex;   // m_pending, m_nLatest, m_bQuit
    std::condition_variable m_wake;
    std::optional<std::string> m_pending;
    std::uint64_t m_nLatest = 0;
    bool m_bQuit = false;
    std::atomic<bool> m_bSuperseded{false};   // the running search is no longer wanted
    std::thread m_worker;                     // last: starts once the rest is set up
};
