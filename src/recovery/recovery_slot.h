#pragma once

#include "recovery/recovery_folder.h"
#include "recovery/recovery_record.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

class CFileDescriptor;

// One window's recovery file in the recovery folder, under an id of its own.
// The first write makes the folder (readable by the user alone) and the
// window's lock file, which it holds from then on. Each write goes to a new
// file that is synced and then renamed over the record, so the record is
// always whole. Safe to use from two threads: a window writes from a
// background thread and removes from its own.
class CRecoverySlot {
public:
    explicit CRecoverySlot(std::string folder);
    // A clean end: the record and the lock file go.
    ~CRecoverySlot();
    CRecoverySlot(const CRecoverySlot&) = delete;
    CRecoverySlot& operator=(const CRecoverySlot&) = delete;

    const std::string& Id() const { return m_strId; }
    std::string DataPath() const { return m_folder.DataPath(m_strId); }

    // Counts the removals; a write carries the count read when its text was
    // taken, and a removal since then voids it.
    std::uint64_t Generation() const;
    // Makes the record hold record, unless a removal came after generation.
    // Throws CFileException.
    void Write(const CRecoveryRecord& record, std::uint64_t generation);
    // Removes the record (the lock stays while the window lives).
    void Remove();

private:
    void TakeLock();

    CRecoveryFolder m_folder;
    std::string m_strId;
    mutable std::mutex m_mutex;
    std::uint64_t m_generation = 0;
    std::unique_ptr<CFileDescriptor> m_pLock;
};
