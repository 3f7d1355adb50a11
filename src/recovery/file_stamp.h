#pragma once

#include <cstdint>
#include <string>

// What a file looks like on disk, to tell whether another program changed
// it: the device and inode (a file replaced by a new one has a new inode),
// the size and the modification time to the nanosecond, and whether it
// exists at all. Symbolic links are followed.
class CFileStamp {
public:
    // The stamp of the file at path now (one that does not exist when it
    // cannot be looked at).
    static CFileStamp Of(const std::string& path);

    bool Exists() const { return m_bExists; }
    bool operator==(const CFileStamp&) const = default;

private:
    bool m_bExists = false;
    std::uint64_t m_device = 0;
    std::uint64_t m_inode = 0;
    std::int64_t m_size = 0;
    std::int64_t m_modifiedSeconds = 0;
    long m_modifiedNanoseconds = 0;
};
