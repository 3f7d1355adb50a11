#include "exec/worker_run.h"

#include <thread>
#include <utility>

namespace {

// Appends travel in pieces of this size (the output pane puts pieces of this
// size into its control at once)...
constexpr std::size_t kChunkSize = std::size_t{1} << 20;
// ...and the job waits while this many bytes of them are still waiting.
constexpr std::size_t kMaxQueuedBytes = 16 * kChunkSize;

}  // namespace

void CWorkerRun::Run(const std::function<void()>& job) {
    m_bJobEnded = false;
    std::exception_ptr jobFailure;
    std::thread worker([&] {
        try {
            job();
        } catch (...) {
            jobFailure = std::current_exception();
        }
        // What the job appended before it ended or failed still goes out, as
        // it would have without the worker.
        try {
            PostChunk();
        } catch (...) {
            if (!jobFailure) jobFailure = std::current_exception();
        }
        std::lock_guard lock(m_mutex);
        m_bJobEnded = true;
        m_cvWork.notify_one();
    });

    for (;;) {
        std::deque<Item> batch;
        {
            std::unique_lock lock(m_mutex);
            m_cvWork.wait(lock, [this] { return !m_queue.empty() || m_bJobEnded; });
            if (m_queue.empty()) break;
            batch.swap(m_queue);
        }
        for (Item& item : batch) CarryOut(item);
    }
    worker.join();

    if (jobFailure) std::rethrow_exception(jobFailure);
    if (m_postedFailure) std::rethrow_exception(std::exchange(m_postedFailure, nullptr));
}

void CWorkerRun::CarryOut(Item& item) {
    try {
        if (item.call)
            item.call();
        else
            m_output.AppendText(item.bytes);
    } catch (...) {
        std::lock_guard lock(m_mutex);
        if (!m_postedFailure) m_postedFailure = std::current_exception();
        m_bPostedFailed = true;
    }
    if (item.call) return;
    std::lock_guard lock(m_mutex);
    m_nQueuedBytes -= item.bytes.size();
    item.bytes.clear();
    m_spareChunks.push_back(std::move(item.bytes));
    m_cvSpace.notify_one();
}

void CWorkerRun::Append(std::string_view bytes) {
    ThrowPostedFailure();
    m_strChunk.append(bytes);
    if (m_strChunk.size() >= kChunkSize) PostChunk();
}

void CWorkerRun::PostChunk() {
    if (m_strChunk.empty()) return;
    std::unique_lock lock(m_mutex);
    m_cvSpace.wait(lock, [this] { return m_nQueuedBytes < kMaxQueuedBytes; });
    m_nQueuedBytes += m_strChunk.size();
    std::string next;
    if (!m_spareChunks.empty()) {
        next = std::move(m_spareChunks.back());
        m_spareChunks.pop_back();
    }
    Enqueue(Item{std::exchange(m_strChunk, std::move(next)), {}});
    lock.unlock();
    // A piece grows to a little over kChunkSize once; reused pieces keep
    // their room, so the worker does not keep touching fresh memory.
    if (m_strChunk.capacity() < kChunkSize) m_strChunk.reserve(kChunkSize + kChunkSize / 8);
}

// With m_mutex held.
void CWorkerRun::Enqueue(Item item) {
    m_queue.push_back(std::move(item));
    m_cvWork.notify_one();
}

void CWorkerRun::Post(std::function<void()> call) {
    ThrowPostedFailure();
    PostChunk();
    std::lock_guard lock(m_mutex);
    Enqueue(Item{{}, std::move(call)});
}

void CWorkerRun::Call(const std::function<void()>& call) {
    bool done = false;
    std::exception_ptr failure;
    Post([&] {
        try {
            call();
        } catch (...) {
            failure = std::current_exception();
        }
        std::lock_guard lock(m_mutex);
        done = true;
        m_cvSpace.notify_one();
    });
    std::unique_lock lock(m_mutex);
    m_cvSpace.wait(lock, [&] { return done; });
    lock.unlock();
    if (failure) std::rethrow_exception(failure);
}

int CWorkerRun::WrapWidth() {
    int width = 0;
    Call([&] { width = m_output.WrapWidth(); });
    return width;
}

void CWorkerRun::ThrowPostedFailure() {
    if (!m_bPostedFailed.load(std::memory_order_relaxed)) return;
    std::unique_lock lock(m_mutex);
    std::exception_ptr failure = std::exchange(m_postedFailure, nullptr);
    m_bPostedFailed = false;
    lock.unlock();
    if (failure) std::rethrow_exception(failure);
}
