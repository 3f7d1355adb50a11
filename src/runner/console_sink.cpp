#include "runner/console_sink.h"

#include <cerrno>
#include <cstring>

CConsoleSink::CConsoleSink(std::FILE* file, int wrapWidth, bool lfLineEnds)
    : m_pFile(file), m_nWrapWidth(wrapWidth), m_bLfLineEnds(lfLineEnds), m_buffer(new char[kBufferSize]) {}

CConsoleSink::~CConsoleSink() { Flush(true); }

void CConsoleSink::AppendText(std::string_view text) {
    if (m_bLfLineEnds)
        PutWithLf(text);
    else
        Put(text.data(), text.size());
}

void CConsoleSink::PutWithLf(std::string_view text) {
    if (text.empty()) return;
    // A "\r" that ended the previous append pairs with a "\n" that begins this one.
    if (m_bHeldCr) {
        m_bHeldCr = false;
        if (text.front() == '\n') {
            Put("\n", 1);
            text.remove_prefix(1);
        } else {
            Put("\r", 1);
        }
    }
    while (!text.empty()) {
        const void* found = std::memchr(text.data(), '\r', text.size());
        if (found == nullptr) {
            Put(text.data(), text.size());
            return;
        }
        const std::size_t cr = static_cast<std::size_t>(static_cast<const char*>(found) - text.data());
        Put(text.data(), cr);
        if (cr + 1 == text.size()) {
            m_bHeldCr = true;
            return;
        }
        if (text[cr + 1] == '\n') {
            Put("\n", 1);
            text.remove_prefix(cr + 2);
        } else {
            Put("\r", 1);
            text.remove_prefix(cr + 1);
        }
    }
}

void CConsoleSink::Put(const char* data, std::size_t size) {
    if (size > kBufferSize - m_nUsed) {
        WriteBuffer();
        // A block larger than the buffer goes to the stream as it is.
        if (size >= kBufferSize) {
            WriteBlock(data, size);
            return;
        }
    }
    std::memcpy(m_buffer.get() + m_nUsed, data, size);
    m_nUsed += size;
}

void CConsoleSink::WriteBlock(const char* data, std::size_t size) {
    if (size == 0 || m_nError != 0) return;
    errno = 0;
    if (std::fwrite(data, 1, size, m_pFile) != size) m_nError = errno ? errno : EIO;
}

void CConsoleSink::WriteBuffer() {
    WriteBlock(m_buffer.get(), m_nUsed);
    m_nUsed = 0;
}

bool CConsoleSink::Flush(bool final) {
    if (final && m_bHeldCr) {
        m_bHeldCr = false;
        Put("\r", 1);
    }
    WriteBuffer();
    if (m_nError == 0) {
        errno = 0;
        if (std::fflush(m_pFile) != 0) m_nError = errno ? errno : EIO;
    }
    return m_nError == 0;
}
