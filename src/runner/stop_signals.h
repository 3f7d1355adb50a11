#pragma once

#include "common/file_descriptor.h"
#include "exec/run_control.h"

#include <mutex>
#include <thread>

// SIGINT and SIGTERM for tarnwell-run. They are blocked in every thread and
// taken by a thread of their own, since stopping a statement (SQLCancel) may
// not be done in a signal handler. While a run is watched, the first signal
// stops it as the worksheet's Cancel does and the program goes on to write
// its transcript; a second signal, or any signal while no run is watched
// (the password prompt, the connect), ends the program at once, with the
// terminal's echo back on. The exit status is 128 plus the signal's number.
class CStopSignals {
public:
    // Blocks the two signals in the calling thread, whose mask every thread
    // started later inherits: construct it before any other thread starts.
    // Throws std::system_error when the signals cannot be taken.
    CStopSignals();
    // Ends the thread; the signals stay blocked, so one that comes later is
    // not delivered while the program returns.
    ~CStopSignals();
    CStopSignals(const CStopSignals&) = delete;
    CStopSignals& operator=(const CStopSignals&) = delete;

    // While a Watch lives, a signal stops the run of control.
    class Watch {
    public:
        Watch(CStopSignals& signals, CRunControl& control);
        ~Watch();
        Watch(const Watch&) = delete;
        Watch& operator=(const Watch&) = delete;

    private:
        CStopSignals& m_signals;
    };

    // 128 plus the number of the signal that stopped a run; 0 when none did.
    int ExitStatus() const;

private:
    void Take();
    void Stop(int signalNumber);
    void Unwatch();

    CFileDescriptor m_signalFd;   // signalfd of the two signals
    CFileDescriptor m_wakeFd;     // eventfd that ends the thread
    mutable std::mutex m_mutex;
    CRunControl* m_pControl = nullptr;   // the watched run
    int m_nReceived = 0;                 // the signal that stopped it
    std::thread m_stopping;              // the RequestStop of that signal
    std::thread m_taker;
};
