#include "recovery/recovery_writer.h"

#include <exception>

CRecoveryWriter::CRecoveryWriter(std::string folder, FailureHandler onFailure)
    : m_slot(std::move(folder)), m_onFailure(std::move(onFailure)), m_thread([this] { Run(); }) {}

CRecoveryWriter::~CRecoveryWriter() {
    {
        std::lock_guard lock(m_mutex);
        m_bStop = true;
        m_pending.reset();
    }
    m_wake.notify_one();
    m_thread.join();
}

void CRecoveryWriter::Write(CRecoveryRecord record) {
    const std::uint64_t generation = m_slot.Generation();
    {
        std::lock_guard lock(m_mutex);
        m_pending.emplace(std::move(record), generation);
    }
    m_wake.notify_one();
}

void CRecoveryWriter::Remove() {
    {
        std::lock_guard lock(m_mutex);
        m_pending.reset();
    }
    m_slot.Remove();
}

void CRecoveryWriter::Run() {
    bool reported = false;
    for (;;) {
        std::pair<CRecoveryRecord, std::uint64_t> job;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_bStop || m_pending; });
            if (m_bStop) return;
            job = std::move(*m_pending);
            m_pending.reset();
        }
        try {
            m_slot.Write(job.first, job.second);
        } catch (const std::exception& failure) {
            if (!std::exchange(reported, true) && m_onFailure) m_onFailure(failure.what());
        }
    }
}
