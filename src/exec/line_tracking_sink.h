#pragma once

#include "exec/output_sink.h"

// Passes text on, counts it and notes whether the last byte ended a line, so
// a message that must stand on a line of its own can start one first.
class CLineTrackingSink : public COutputSink {
public:
    explicit CLineTrackingSink(COutputSink& inner) noexcept : m_inner(inner) {}

    void AppendText(std::string_view text) override {
        m_inner.AppendText(text);
        m_nBytes += text.size();
        if (!text.empty()) m_bAtLineStart = text.back() == '\n';
    }
    void AppendVolatile(std::string_view text) override {
        m_inner.AppendVolatile(text);
        m_nBytes += text.size();
        if (!text.empty()) m_bAtLineStart = text.back() == '\n';
    }
    int WrapWidth() const override { return m_inner.WrapWidth(); }

    // The bytes passed on so far.
    std::size_t Bytes() const noexcept { return m_nBytes; }

    // Appends "\r\n" unless the output is at the start of a line.
    void StartLine() {
        if (!m_bAtLineStart) AppendText("\r\n");
    }

private:
    COutputSink& m_inner;
    bool m_bAtLineStart = true;
    std::size_t m_nBytes = 0;
};
