#pragma once

#include "recovery/recovery_record.h"

#include <string>
#include <vector>

// The folder of recovery files, $XDG_STATE_HOME/Tarnwell/recovery/
// (~/.local/state/Tarnwell/recovery/ when XDG_STATE_HOME is unset, empty or
// not an absolute path). Each window that has written there owns an id and
// three kinds of file named after it: "<id>.script" (the record),
// "<id>.lock" (its process id, locked with flock while the window lives) and
// "<id>.tmp-XXXXXX" (a record on its way in). A window's files are left over
// when nobody holds the lock or the process it names is gone.
class CRecoveryFolder {
public:
    explicit CRecoveryFolder(std::string path) : m_strPath(std::move(path)) {}

    // The folder above; none ("") when TARNWELL_NO_RECOVERY=1 turns recovery
    // files off.
    static std::string DefaultPath();

    const std::string& Path() const { return m_strPath; }
    std::string DataPath(const std::string& id) const { return m_strPath + "/" + id + ".script"; }
    std::string LockPath(const std::string& id) const { return m_strPath + "/" + id + ".lock"; }
    std::string TempPattern(const std::string& id) const { return m_strPath + "/" + id + ".tmp-XXXXXX"; }

    struct LeftOver {
        std::string id;
        CRecoveryRecord record;
    };
    // The records of windows that are no longer running, newest first.
    // Files that are not whole records are left alone; the lock and
    // temporary files of gone windows without a record are removed.
    std::vector<LeftOver> FindLeftOvers() const;
    // Removes every file of the window id.
    void Discard(const std::string& id) const;

    // Whether the window whose lock file is at lockPath still runs.
    static bool IsLive(const std::string& lockPath);

private:
    std::string m_strPath;
};
