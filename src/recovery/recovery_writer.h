#pragma once

#include "recovery/recovery_record.h"
#include "recovery/recovery_slot.h"

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>

// Writes one window's recovery file on a thread of its own, so that the
// window never waits for the disk: the window hands over a copy of the text
// and goes on. When texts come faster than the disk takes them, only the
// newest is written.
class CRecoveryWriter {
public:
    // Called on the writer's thread, once, for the first write that fails
    // (the message names the file and the cause).
    using FailureHandler = std::function<void(const std::string& message)>;

    CRecoveryWriter(std::string folder, FailureHandler onFailure);
    // Waits for a write under way, drops the ones waiting and removes the
    // window's files: a clean end.
    ~CRecoveryWriter();
    CRecoveryWriter(const CRecoveryWriter&) = delete;
    CRecoveryWriter& operator=(const CRecoveryWriter&) = delete;

    void Write(CRecoveryRecord record);
    // Removes the recovery file now; no write handed over before comes back.
    void Remove();

    const CRecoverySlot& Slot() const { return m_slot; }

private:
    void Run();

    CRecoverySlot m_slot;
    FailureHandler m_onFailure;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::optional<std::pair<CRecoveryRecord, std::uint64_t>> m_pending;
    bool m_bStop = false;
    std::thread m_thread;
};
