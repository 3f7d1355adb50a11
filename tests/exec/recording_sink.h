#pragma once

#include "exec/output_sink.h"

#include <string>
#include <string_view>
#include <vector>

// An output that keeps every AppendText call. When given an event log it also
// writes "append:<text>" there, so tests can check the order of appends
// against the run host's calls.
class CRecordingSink : public COutputSink {
public:
    explicit CRecordingSink(int wrapWidth = 1000, std::vector<std::string>* events = nullptr)
        : m_nWrapWidth(wrapWidth), m_pEvents(events) {}

    void AppendText(std::string_view text) override {
        m_appends.emplace_back(text);
        m_strText.append(text);
        if (m_pEvents) m_pEvents->push_back("append:" + std::string(text));
    }
    int WrapWidth() const override { return m_nWrapWidth; }

    void SetWrapWidth(int width) { m_nWrapWidth = width; }
    const std::string& Text() const { return m_strText; }
    const std::vector<std::string>& Appends() const { return m_appends; }
    void Clear() {
        m_strText.clear();
        m_appends.clear();
    }

private:
    int m_nWrapWidth;
    std::vector<std::string>* m_pEvents;
    std::string m_strText;
    std::vector<std::string> m_appends;
};
