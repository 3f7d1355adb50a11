#include "exec/worker_run.h"

#include <chrono>
#include <stdexcept>
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
// The blocking form pumps at least this often, for text still being collected.
constexpr auto kPumpInterval = std::chrono::milliseconds(50);

}  // namespace

CWorkerRun::CWorkerRun(COutputSink& output, std::function<void()> wake)
    : m_output(output), m_wake(std::move(wake)) {}

CWorkerRun::~CWorkerRun() {
    if (!m_worker.joinable()) return;
    // Nobody pumps any more (the window thread left early, say out of
    // memory): a job waiting for room or for a call is let go, and fails.
    {
        std::lock_guard lock(m_mutex);
        m_bNoMorePumps = true;
    }
    m_cvSpace.notify_all();
    m_worker.join();
}

void CWorkerRun::Start(std::function<void()> job) {
    m_bJobEnded = false;
    m_jobFailure = nullptr;
    m_worker = std::thread([this, job = std::move(job)] {
        try {
            job();
        } catch (...) {
            m_jobFailure = std::current_exception();
        }
        {
            std::lock_guard lock(m_mutex);
            m_bJobEnded = true;
        }
        Wake();
    });
}

bool CWorkerRun::Pump(std::size_t maxBytes) {
    std::deque<Item> batch;
    bool ended = false;
    {
        std::unique_lock lock(m_mutex);
        // What the job has collected so far goes out now, so it shows soon
        // even while the job waits for the driver.
        if (!m_strChunk.empty()) QueueChunk(lock, false);
        ended = m_bJobEnded;
        std::size_t taken = 0;
        while (!m_queue.empty() && taken < maxBytes) {
            taken += m_queue.front().bytes.size();
            batch.push_back(std::move(m_queue.front()));
            m_queue.pop_front();
        }
    }
    for (Item& item : batch) CarryOut(item);
    // Everything the job handed over was queued before it ended.
    return ended && !HasWork();
}

bool CWorkerRun::HasWork() const {
    std::lock_guard lock(m_mutex);
    return !m_queue.empty() || !m_strChunk.empty();
}

void CWorkerRun::Finish() {
    if (m_worker.joinable()) m_worker.join();
    if (m_jobFailure) std::rethrow_exception(std::exchange(m_jobFailure, nullptr));
    if (m_postedFailure) std::rethrow_exception(std::exchange(m_postedFailure, nullptr));
}

void CWorkerRun::Abandon() {
    if (m_worker.joinable()) m_worker.detach();
}

void CWorkerRun::Run(const std::function<void()>& job) {
    std::function<void()> wake = std::exchange(m_wake, [this] { m_cvWork.notify_one(); });
    Start(job);
    while (!Pump()) {
        std::unique_lock lock(m_mutex);
        m_cvWork.wait_for(lock, kPumpInterval, [this] { return !m_queue.empty() || m_bJobEnded; });
    }
    // The worker's last wake-up is over once it has ended.
    if (m_worker.joinable()) m_worker.join();
    m_wake = std::move(wake);
    Finish();
}

void CWorkerRun::Wake() {
    if (m_wake) m_wake();
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
    std::unique_lock lock(m_mutex);
    m_strChunk.append(bytes);
    if (m_strChunk.size() >= kChunkSize) QueueChunk(lock, true);
}

// With m_mutex held: moves the collected piece into the queue. A small piece
// (a statement's echo, taken before a posted call or by a pump) travels as a
// copy of its own size, and the collecting buffer keeps its room. The job
// waits for room (onWorker); the window thread taking the piece for a pump
// never waits.
void CWorkerRun::QueueChunk(std::unique_lock<std::mutex>& lock, bool onWorker) {
    Item item;
    if (m_strChunk.size() < kChunkSize / 2) {
        item.bytes.assign(m_strChunk);
        m_strChunk.clear();
    } else {
        std::string next;
        if (!m_spareChunks.empty()) {
            next = std::move(m_spareChunks.back());
            m_spareChunks.pop_back();
        }
        item.bytes = std::exchange(m_strChunk, std::move(next));
    }
    item.charge = item.bytes.capacity() + kItemCost;
    // A piece grows to a little over kChunkSize once; reused pieces keep
    // their room, so the worker does not keep touching fresh memory.
    if (m_strChunk.capacity() < kChunkSize) m_strChunk.reserve(kChunkSize + kChunkSize / 8);
    if (onWorker) {
        EnqueueWithinLimit(lock, std::move(item));
    } else {
        m_nQueuedBytes += item.charge;
        m_queue.push_back(std::move(item));
    }
}

// With m_mutex held, on the worker: waits until the queue is under its limit
// (waking the window so it makes room), then queues item.
void CWorkerRun::EnqueueWithinLimit(std::unique_lock<std::mutex>& lock, Item item) {
    while (m_nQueuedBytes >= kMaxQueuedBytes) {
        if (m_bNoMorePumps) throw std::runtime_error("the run's output is no longer taken");
        lock.unlock();
        Wake();
        lock.lock();
        m_cvSpace.wait_for(lock, kPumpInterval, [this] { return m_nQueuedBytes < kMaxQueuedBytes; });
    }
    m_nQueuedBytes += item.charge;
    m_queue.push_back(std::move(item));
    m_cvWork.notify_one();
}

void CWorkerRun::Post(std::function<void()> call) {
    ThrowPostedFailure();
    std::unique_lock lock(m_mutex);
    if (!m_strChunk.empty()) QueueChunk(lock, true);
    EnqueueWithinLimit(lock, Item{{}, std::move(call), kItemCost});
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
    Wake();
    std::unique_lock lock(m_mutex);
    m_cvSpace.wait(lock, [&] { return done || m_bNoMorePumps; });
    if (!done) throw std::runtime_error("the run's output is no longer taken");
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
