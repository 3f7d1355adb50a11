#pragma once

#include "exec/output_sink.h"

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

// Runs a job on a worker thread while the calling thread, the one that owns
// the window, carries out what the job must not do itself: appending to the
// output and calling on the window. So the database and the formatting of
// the rows keep one processor busy while the window takes the text on
// another.
//
// The calling thread does nothing else until the job ends (no event is
// handled meanwhile, as in any blocking command), so the job may use what the
// window thread otherwise owns, such as the connection and the history; it
// must only not touch a window.
//
// What the job hands over is carried out in the order it was handed over.
// Appended bytes are collected into large pieces, and the job waits while a
// few megabytes of pieces and calls are still waiting, so a result faster
// than the window does not pile up in memory. The limit counts what the queue
// really holds (the room of each piece, a share for each call), so a script of
// many small statements, each of which posts calls and a small piece, stays
// within it too.
class CWorkerRun {
public:
    explicit CWorkerRun(COutputSink& output) : m_output(output) {}
    CWorkerRun(const CWorkerRun&) = delete;
    CWorkerRun& operator=(const CWorkerRun&) = delete;

    // Runs job on a new thread and meanwhile carries out, on this one,
    // everything it hands over. Returns when both are done; rethrows what the
    // job threw, or else what a posted call threw that the job never saw.
    void Run(const std::function<void()>& job);

    // For the job: the bytes reach the output after everything handed over
    // before them.
    void Append(std::string_view bytes);
    // For the job: call is carried out on the calling thread later; the job
    // goes on at once. If it throws, the job's next Append, Post or Call
    // throws the same.
    void Post(std::function<void()> call);
    // For the job: call is carried out on the calling thread; the job waits
    // for it and gets what it threw.
    void Call(const std::function<void()>& call);
    // For the job: the output's wrap width, asked on the calling thread.
    int WrapWidth();

private:
    // A piece of output (call empty) or a call.
    struct Item {
        std::string bytes;
        std::function<void()> call;
        std::size_t charge = 0;   // what the item counts against the limit
    };

    void Enqueue(Item item);
    void EnqueueWithinLimit(Item item);
    void PostChunk();
    std::string TakeSpareChunk();
    void ThrowPostedFailure();
    void CarryOut(Item& item);

    COutputSink& m_output;

    // The worker's own: the piece being collected.
    std::string m_strChunk;

    std::mutex m_mutex;
    std::condition_variable m_cvWork;    // items queued, or the job ended
    std::condition_variable m_cvSpace;   // room in the queue, or a call done
    std::deque<Item> m_queue;
    std::size_t m_nQueuedBytes = 0;
    std::vector<std::string> m_spareChunks;   // emptied pieces, kept for reuse
    bool m_bJobEnded = false;
    std::exception_ptr m_postedFailure;
    std::atomic<bool> m_bPostedFailed{false};
};
