#include "history/history_search.h"

#include "history/history_store.h"

CHistorySearch::CHistorySearch(const CHistoryStore& store, Found found)
    : m_store(store), m_found(std::move(found)), m_worker([this] { Work(); }) {}

CHistorySearch::~CHistorySearch() {
    {
        const std::lock_guard lock(m_mutex);
        m_bQuit = true;
        m_bSuperseded = true;
    }
    m_wake.notify_one();
    m_worker.join();
}

std::uint64_t CHistorySearch::Start(std::string words) {
    std::uint64_t query;
    {
        const std::lock_guard lock(m_mutex);
        m_pending = std::move(words);
        query = ++m_nLatest;
        m_bSuperseded = true;
    }
    m_wake.notify_one();
    return query;
}

void CHistorySearch::Cancel() {
    const std::lock_guard lock(m_mutex);
    m_pending.reset();
    ++m_nLatest;
    m_bSuperseded = true;
}

void CHistorySearch::Work() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_bQuit || m_pending; });
        if (m_bQuit) return;
        const std::string words = std::move(*m_pending);
        m_pending.reset();
        const std::uint64_t query = m_nLatest;
        m_bSuperseded = false;
        lock.unlock();
        std::vector<HistoryRecord> found = m_store.Search(words, &m_bSuperseded);
        lock.lock();
        // Handed over under the lock, so that no call comes after the
        // destructor has begun, nor for a query that a newer one replaced.
        if (!m_bQuit && query == m_nLatest) m_found(query, std::move(found));
    }
}
