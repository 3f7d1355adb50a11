#pragma once

#include <unistd.h>

// An open file descriptor, closed on every way out.
class CFileDescriptor {
public:
    explicit CFileDescriptor(int fd = -1) noexcept : m_fd(fd) {}
    CFileDescriptor(const CFileDescriptor&) = delete;
    CFileDescriptor& operator=(const CFileDescriptor&) = delete;
    ~CFileDescriptor() {
        if (m_fd >= 0) ::close(m_fd);
    }

    int Get() const noexcept { return m_fd; }
    bool IsOpen() const noexcept { return m_fd >= 0; }

    // Closes now and returns close's result (errno tells why it failed);
    // the destructor then does nothing.
    int Close() noexcept {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd);
    }

private:
    int m_fd;
};
