#include "recovery/recovery_slot.h"

#include "common/file_descriptor.h"
#include "common/file_exception.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string_view>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// "<process id>-<16 random hex digits>": unique also when a later process
// gets the same process id.
std::string NewId() {
    std::random_device random;
    const std::uint64_t bits = (std::uint64_t(random()) << 32) | random();
    char id[48];
    std::snprintf(id, sizeof id, "%ld-%016llx", static_cast<long>(::getpid()), static_cast<unsigned long long>(bits));
    return id;
}

void WriteAll(int fd, std::string_view bytes, const std::string& path) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) throw CFileException::FromErrno(written < 0 ? errno : ENOSPC, path);
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

void MakeFolder(const std::string& folder) {
    std::error_code error;
    if (std::filesystem::create_directories(folder, error)) ::chmod(folder.c_str(), 0700);
    if (error) throw CFileException::FromErrno(error.value(), folder, true);
}

}  // namespace

CRecoverySlot::CRecoverySlot(std::string folder) : m_folder(std::move(folder)), m_strId(NewId()) {}

CRecoverySlot::~CRecoverySlot() {
    Remove();
    std::lock_guard lock(m_mutex);
    // Unlinked before the lock is let go: nobody takes it for a gone window's.
    if (m_pLock) ::unlink(m_folder.LockPath(m_strId).c_str());
}

std::uint64_t CRecoverySlot::Generation() const {
    std::lock_guard lock(m_mutex);
    return m_generation;
}

void CRecoverySlot::TakeLock() {
    if (m_pLock) return;
    const std::string path = m_folder.LockPath(m_strId);
    auto file = std::make_unique<CFileDescriptor>(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
    if (!file->IsOpen()) throw CFileException::FromErrno(errno, path, true);
    // Where the file system cannot lock, the process id alone tells.
    ::flock(file->Get(), LOCK_EX | LOCK_NB);
    const std::string pid = std::to_string(::getpid()) + "\n";
    if (::ftruncate(file->Get(), 0) != 0 || ::pwrite(file->Get(), pid.data(), pid.size(), 0) != ssize_t(pid.size()))
        throw CFileException::FromErrno(errno, path);
    m_pLock = std::move(file);
}

void CRecoverySlot::Write(const CRecoveryRecord& record, std::uint64_t generation) {
    MakeFolder(m_folder.Path());
    {
        std::lock_guard lock(m_mutex);
        if (generation != m_generation) return;
        TakeLock();
    }
    const std::string pattern = m_folder.TempPattern(m_strId);
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    CFileDescriptor file(::mkostemp(name.data(), O_CLOEXEC));
    if (!file.IsOpen()) throw CFileException::FromErrno(errno, pattern, true);
    const std::string temporary(name.data());
    bool renamed = false;
    try {
        WriteAll(file.Get(), record.Header(), temporary);
        WriteAll(file.Get(), record.text, temporary);
        if (::fsync(file.Get()) != 0 || file.Close() != 0) throw CFileException::FromErrno(errno, temporary);
        std::lock_guard lock(m_mutex);
        if (generation == m_generation) {
            const std::string target = DataPath();
            if (::rename(temporary.c_str(), target.c_str()) != 0) throw CFileException::FromErrno(errno, target);
            renamed = true;
        }
    } catch (...) {
        ::unlink(temporary.c_str());
        throw;
    }
    if (!renamed) {
        ::unlink(temporary.c_str());
        return;
    }
    // The rename itself reaches the disk with the folder.
    CFileDescriptor folder(::open(m_folder.Path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.IsOpen()) ::fsync(folder.Get());
}

void CRecoverySlot::Remove() {
    std::lock_guard lock(m_mutex);
    ++m_generation;
    ::unlink(DataPath().c_str());
}
