#include "exec/worker_run.h"

#include <thread>
#include <utility>

namespace {

// Appends travel in pieces of this size (the output pane puts pieces of this
// size into its control at once)...
constexpr std::size_t kChunkSize = std::size_t{1} << 20;
// ...and the job waits while this many bytes of them are still waiting.
constexpr std::size_t kMaxQueuedBytes = 16 * kChunkSize;
// What a queued item costs besides the room of its bytes: the queue's slot,
// a call's captures.
constexpr std::size_t kItemCost = 256;

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
    item.call = nullptr;
    std::lock_guard lock(m_mutex);
    m_nQueuedBytes -= item.charge;
    // Only full-size pieces are worth keeping for reuse.
    if (item.bytes.capacity() >= kChunkSize) {
        item.bytes.clear();
        try {
            m_spareChunks.push_back(std::move(item.bytes));
        } catch (...) {
            // Not kept: the piece is freed with the item.
        }
    }
    m_cvSpace.notify_all();
}

void CWorkerRun::Append(std::string_view bytes) {
    ThrowPostedFailure();
    m_strChunk.append(bytes);
    if (m_strChunk.size() >= kChunkSize) PostChunk();
}

void CWorkerRun::PostChunk() {
    if (m_strChunk.empty()) return;
    Item item;
    if (m_strChunk.size() < kChunkSize / 2) {
        // A small piece (a statement's echo, flushed before a posted call)
        // travels as a copy of its own size; the collecting buffer stays.
        item.bytes.assign(m_strChunk);
        m_strChunk.clear();
    } else {
        std::string next = TakeSpareChunk();
        item.bytes = std::exchange(m_strChunk, std::move(next));
    }
    item.charge = item.bytes.capacity() + kItemCost;
    EnqueueWithinLimit(std::move(item));
    // A piece grows to a little over kChunkSize once; reused pieces keep
    // their room, so the worker does not keep touching fresh memory.
    if (m_strChunk.capacity() < kChunkSize) m_strChunk.reserve(kChunkSize + kChunkSize / 8);
}

std::string CWorkerRun::TakeSpareChunk() {
    std::lock_guard lock(m_mutex);
    if (m_spareChunks.empty()) return {};
    std::string spare = std::move(m_spareChunks.back());
    m_spareChunks.pop_back();
    return spare;
}

// Waits until the queue is under its limit, then queues item.
void CWorkerRun::EnqueueWithinLimit(Item item) {
    std::unique_lock lock(m_mutex);
    m_cvSpace.wait(lock, [this] { return m_nQueuedBytes < kMaxQueuedBytes; });
    m_nQueuedBytes += item.charge;
    Enqueue(std::move(item));
}

// With m_mutex held.
void CWorkerRun::Enqueue(Item item) {
    m_queue.push_back(std::move(item));
    m_cvWork.notify_one();
}

void CWorkerRun::Post(std::function<void()> call) {
    ThrowPostedFailure();
    PostChunk();
    EnqueueWithinLimit(Item{{}, std::move(call), kItemCost});
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
        m_cvSpace.notify_all();
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
