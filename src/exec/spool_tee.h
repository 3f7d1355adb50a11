#pragma once

#include "exec/output_sink.h"

#include <cstdio>
#include <memory>
#include <string>

// Tees a run's output into the spool file: every AppendText goes to the inner
// sink (and AppendVolatile as volatile text) and the same bytes to the file.
// The file is opened for appending in binary mode ("ab", created when
// missing) and written through buffered stdio.
// A file that cannot be opened leaves the tee passing text to the inner sink
// only. Wrapping follows the inner sink's width, so the file receives the
// wrapped form of a wrapped text.
//
// A write that fails (a full disk, a lost network share) stops the spooling:
// the file is closed and the inner sink, right at that point of the
// transcript, gets "Spool file write failed: <reason>; spooling stopped.\r\n"
// (on a line of its own). The inner sink goes on getting everything.
class CSpoolTee : public COutputSink {
public:
    CSpoolTee(COutputSink& inner, const std::string& path);

    bool IsOpen() const noexcept { return m_pSpoolFile != nullptr; }
    // True once a write has failed.
    bool WriteFailed() const noexcept { return m_bWriteFailed; }
    // Closes the file, writing out what stdio still buffers (a failure there
    // is reported as above); from then on text reaches the inner sink only.
    void Close();

    void AppendText(std::string_view text) override;
    void AppendVolatile(std::string_view text) override;
    int WrapWidth() const override { return m_inner.WrapWidth(); }

private:
    struct FileCloser {
        void operator()(std::FILE* file) const noexcept { std::fclose(file); }
    };

    void PassOn(std::string_view text, bool isVolatile = false);
    void Spool(std::string_view text);
    void StopAfterWriteError(int error);

    COutputSink& m_inner;
    std::unique_ptr<std::FILE, FileCloser> m_pSpoolFile;
    bool m_bWriteFailed = false;
    bool m_bAtLineStart = true;   // the inner sink's last byte ended a line
};
