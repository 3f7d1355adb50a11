#include "recovery/file_stamp.h"

#include <sys/stat.h>

CFileStamp CFileStamp::Of(const std::string& path) {
    CFileStamp stamp;
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return stamp;
    stamp.m_bExists = true;
    stamp.m_device = info.st_dev;
    stamp.m_inode = info.st_ino;
    stamp.m_size = info.st_size;
    stamp.m_modifiedSeconds = info.st_mtim.tv_sec;
    stamp.m_modifiedNanoseconds = info.st_mtim.tv_nsec;
    return stamp;
}
