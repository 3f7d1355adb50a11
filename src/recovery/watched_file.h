#pragma once

#include "recovery/file_stamp.h"

#include <string>

// The file a script was read from or last saved to, with its stamp as it
// was then, to notice when another program changes or removes it.
class CWatchedFile {
public:
    // The script now matches path as it is on disk (just read or saved).
    // stamp: the file's stamp taken before it was read, or after it was
    // written.
    void Keep(const std::string& path, const CFileStamp& stamp);
    // The script has no file (New).
    void Forget();

    // Whether path is the kept file and it has been changed or removed
    // since it was kept.
    bool ChangedOnDisk(const std::string& path) const;

    // Whether to offer reloading the kept file: it exists and has changed,
    // and this very change has not been offered before (asking takes it).
    bool TakeReloadOffer();

private:
    std::string m_path;
    CFileStamp m_stamp;
    CFileStamp m_offered;
    bool m_bKept = false;
};
