#include "recovery/recovery_folder.h"

#include "common/file_descriptor.h"
#include "common/xdg_folders.h"
#include "script/script_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <set>
#include <string_view>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kData = ".script";
constexpr std::string_view kLock = ".lock";
constexpr std::string_view kTemp = ".tmp-";


// The process id a lock file holds (0 when there is none).
pid_t LockOwner(int fd) {
    char text[32] = {};
    const ssize_t got = ::pread(fd, text, sizeof text - 1, 0);
    return got > 0 ? static_cast<pid_t>(std::atol(text)) : 0;
}

// The window id and the kind of a file of the folder ("" when the name is
// none of the three kinds).
std::pair<std::string, std::string_view> Parse(const std::string& name) {
    for (const std::string_view kind : {kData, kLock}) {
        if (name.size() > kind.size() && name.ends_with(kind)) return {name.substr(0, name.size() - kind.size()), kind};
    }
    if (const auto at = name.find(kTemp); at != std::string::npos && at > 0) return {name.substr(0, at), kTemp};
    return {"", ""};
}

}  // namespace

std::string CRecoveryFolder::DefaultPath() {
    if (const char* off = std::getenv("TARNWELL_NO_RECOVERY"); off != nullptr && std::strcmp(off, "1") == 0) return {};
    return xdg::StateHome() + "/Tarnwell/recovery";
}

bool CRecoveryFolder::IsLive(const std::string& lockPath) {
    CFileDescriptor lock(::open(lockPath.c_str(), O_RDONLY | O_CLOEXEC));
    if (!lock.IsOpen()) return false;
    // Taking the lock succeeds only when its window has gone (closing the
    // descriptor lets go of it again).
    if (::flock(lock.Get(), LOCK_EX | LOCK_NB) == 0) return false;
    // Held, or the file system cannot lock: the process it names decides.
    const pid_t owner = LockOwner(lock.Get());
    return owner <= 0 || ::kill(owner, 0) == 0 || errno != ESRCH;
}

std::vector<CRecoveryFolder::LeftOver> CRecoveryFolder::FindLeftOvers() const {
    std::map<std::string, std::set<std::string_view>> windows;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(m_strPath, error)) {
        const auto [id, kind] = Parse(entry.path().filename().string());
        if (!id.empty()) windows[id].insert(kind);
    }

    std::vector<LeftOver> found;
    for (const auto& [id, kinds] : windows) {
        if (IsLive(LockPath(id))) continue;
        if (!kinds.contains(kData)) {
            Discard(id);
            continue;
        }
        std::string bytes;
        try {
            bytes = CScriptFile::Read(DataPath(id));
        } catch (const std::exception&) {
            continue;
        }
        if (auto record = CRecoveryRecord::Decode(bytes)) found.push_back({id, std::move(*record)});
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const LeftOver& a, const LeftOver& b) { return a.record.time > b.record.time; });
    return found;
}

void CRecoveryFolder::Discard(const std::string& id) const {
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(m_strPath, error)) {
        if (Parse(entry.path().filename().string()).first == id) fs::remove(entry.path(), error);
    }
}
