#pragma once

#include "exec/output_sink.h"

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

// Runs a job on a worker thread while the thread that owns the window
// carries out what the job must not do itself: appending to the output and
// calling on the window. So the database and the formatting of the rows keep
// one processor busy while the window takes the text on another, and the
// window never waits for the database.
//
// The window thread starts the job and goes on handling events; whenever it
// likes (on a clock, and at once when woken) it pumps: carries out what the
// job handed over, text that the job is still collecting included, so new
// text reaches the window soon however slowly the job produces it. Wake is
// called on the worker when the window should pump soon: a call waits for
// it, the queue is full, or the job ended. Run is the blocking form.
//
// What the job hands over is carried out in the order it was handed over.
// Appended bytes are collected into large pieces, and the job waits while a
// few megabytes of pieces and calls are still waiting, so a result faster
// than the window does not pile up in memory. The limit counts what the queue
// really holds (the room of each piece, a share for each call), so a script of
// many small statements, each of which posts calls and a small piece, stays
// within it too.
//
// The job may use what the window thread otherwise owns (the connection, the
// history) as long as the window leaves them alone until the job has ended;
// it must only not touch a window.
class CWorkerRun {
public:
    explicit CWorkerRun(COutputSink& output, std::function<void()> wake = {});
    // Waits for the worker unless it was abandoned; a job that still waits
    // for the window then fails at once.
    ~CWorkerRun();
    CWorkerRun(const CWorkerRun&) = delete;
    CWorkerRun& operator=(const CWorkerRun&) = delete;

    // Window thread: starts job on a new thread and returns at once.
    void Start(std::function<void()> job);
    // Window thread: carries out what was handed over so far, pieces of at
    // most about maxBytes of text in all, so that a pump never holds the
    // window long. True once the job has ended and everything it handed over
    // is carried out; then call Finish.
    bool Pump(std::size_t maxBytes = SIZE_MAX);
    // Something handed over waits to be carried out.
    bool HasWork() const;
    // Window thread, after Pump returned true: ends the worker thread and
    // rethrows what the job threw, or else what a posted call threw that the
    // job never saw.
    void Finish();
    // Leaves the worker thread to itself, for a program that exits without
    // waiting for a driver that does not return.
    void Abandon();

    // Start, then pump (waiting for work in between) until the job has
    // ended, then Finish.
    void Run(const std::function<void()>& job);

    // For the job: the bytes reach the output after everything handed over
    // before them.
    void Append(std::string_view bytes);
    // For the job: call is carried out on the window thread later; the job
    // goes on at once. If it throws, the job's next Append, Post or Call
    // throws the same.
    void Post(std::function<void()> call);
    // For the job: call is carried out on the window thread; the job waits
    // for it and gets what it threw.
    void Call(const std::function<void()>& call);
    // For the job: the output's wrap width, asked on the window thread.
    int WrapWidth();

private:
    // A piece of output (call empty) or a call.
    struct Item {
        std::string bytes;
        std::function<void()> call;
        std::size_t charge = 0;   // what the item counts against the limit
    };

    void Wake();
    void QueueChunk(std::unique_lock<std::mutex>& lock, bool onWorker);
    void EnqueueWithinLimit(std::unique_lock<std::mutex>& lock, Item item);
    void ThrowPostedFailure();
    void CarryOut(Item& item);

    COutputSink& m_output;
    std::function<void()> m_wake;
    std::thread m_worker;
    std::exception_ptr m_jobFailure;

    mutable std::mutex m_mutex;
    std::condition_variable m_cvWork;    // for Run: items queued, or the job ended
    std::condition_variable m_cvSpace;   // room in the queue, or a call done
    std::string m_strChunk;              // the piece being collected
    std::deque<Item> m_queue;
    std::size_t m_nQueuedBytes = 0;
    std::vector<std::string> m_spareChunks;   // emptied pieces, kept for reuse
    bool m_bJobEnded = false;
    bool m_bNoMorePumps = false;   // the window thread is gone: nothing waits for it
    std::exception_ptr m_postedFailure;
    std::atomic<bool> m_bPostedFailed{false};
};
