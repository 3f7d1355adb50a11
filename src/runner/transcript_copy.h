#pragma once

#include "exec/output_sink.h"

#include <string>

// Passes everything on to the inner sink and keeps a copy of it for
// comparing, without the volatile text (the times), which changes from run
// to run.
class CTranscriptCopy : public COutputSink {
public:
    explicit CTranscriptCopy(COutputSink& inner) noexcept : m_inner(inner) {}

    void AppendText(std::string_view text) override {
        m_inner.AppendText(text);
        m_strCopy.append(text);
    }
    void AppendVolatile(std::string_view text) override { m_inner.AppendVolatile(text); }
    int WrapWidth() const override { return m_inner.WrapWidth(); }

    const std::string& Copy() const noexcept { return m_strCopy; }

private:
    COutputSink& m_inner;
    std::string m_strCopy;
};
