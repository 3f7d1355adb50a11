#pragma once

#include "exec/output_sink.h"

#include <cstdio>
#include <memory>
#include <string>

// Tees a run's output into the spool file: every AppendText goes to the inner
// sink and the same bytes to the file. The file is opened for appending in
// binary mode ("ab", created when missing) and written through buffered stdio.
// A file that cannot be opened leaves the tee passing text to the inner sink
// only. Wrapping follows the inner sink's width, so the file receives the
// wrapped form of a wrapped text.
class CSpoolTee : public COutputSink {
public:
    CSpoolTee(COutputSink& inner, const std::string& path);

    bool IsOpen() const noexcept { return m_pSpoolFile != nullptr; }
    // Closes the file (flushing it); from then on text reaches the inner sink only.
    void Close() noexcept;

    void AppendText(std::string_view text) override;
    int WrapWidth() const override { return m_inner.WrapWidth(); }

private:
    struct FileCloser {
        void operator()(std::FILE* file) const noexcept { std::fclose(file); }
    };

    COutputSink& m_inner;
    std::unique_ptr<std::FILE, FileCloser> m_pSpoolFile;
};
