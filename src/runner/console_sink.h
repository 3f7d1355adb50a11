#pragma once

#include "exec/output_sink.h"

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string_view>

// The transcript on a stdio stream (standard output): collected in a large
// buffer and written in big blocks, never line by line. With LF line ends
// every "\r\n" becomes "\n", also when the pair is split between two appends.
// Error messages wrap at a fixed width, as in a pane of that many columns.
class CConsoleSink : public COutputSink {
public:
    static constexpr std::size_t kBufferSize = 256 * 1024;

    CConsoleSink(std::FILE* file, int wrapWidth, bool lfLineEnds);
    // Writes what is still buffered; errors are no longer reported then.
    ~CConsoleSink() override;
    CConsoleSink(const CConsoleSink&) = delete;
    CConsoleSink& operator=(const CConsoleSink&) = delete;

    void AppendText(std::string_view text) override;
    int WrapWidth() const override { return m_nWrapWidth; }

    // Hands the buffered bytes to the stream and flushes it. A "\r" held back
    // because the next append might begin with "\n" stays held unless final
    // is set (the transcript is complete). Returns false once a write failed.
    bool Flush(bool final = false);

    // 0, or the errno of the first failed write; after it nothing more is written.
    int Error() const noexcept { return m_nError; }

private:
    void Put(const char* data, std::size_t size);
    void PutWithLf(std::string_view text);
    void WriteBlock(const char* data, std::size_t size);
    void WriteBuffer();

    std::FILE* m_pFile;
    int m_nWrapWidth;
    bool m_bLfLineEnds;
    bool m_bHeldCr = false;
    int m_nError = 0;
    std::unique_ptr<char[]> m_buffer;
    std::size_t m_nUsed = 0;
};
