#pragma once

#include "db/db_connection.h"
#include "history/history_list.h"
#include "history/history_recorder.h"
#include "exec/script_runner.h"
#include "exec/text_statement_source.h"
#include "recording_host.h"
#include "recording_sink.h"
#include "settings/settings_record.h"
#include "support/default_settings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Keeps the history entries that runs record.
struct CKeptRecords : CHistoryRecorder {
    void Record(const HistoryRecord& record) override { records.push_back(record); }
    std::vector<HistoryRecord> records;
};

// One worksheet without its window: a connection, the history (with a
// recorder, which must not change what a run shows), a recording output
// and host, and the settings of a first start.
class RunFixture : public ::testing::Test {
protected:
    RunFixture() { m_runner.SetRecorder(&m_recorded); }

    // Runs script and returns what it appended to the output.
    std::string Run(const std::string& script, bool stopOnError = false) {
        m_output.Clear();
        m_events.clear();
        CTextStatementSource source(script);
        m_summary = m_runner.Run(source, m_settings, stopOnError);
        return m_output.Text();
    }

    std::vector<std::string> m_events;
    CDbConnection m_connection;
    CHistoryList m_history;
    CKeptRecords m_recorded;
    CRecordingSink m_output{1000, &m_events};
    CRecordingHost m_host{m_events};
    CScriptRunner m_runner{m_connection, m_history, m_output, m_host};
    CSettingsRecord m_settings = DefaultSettings();
    RunSummary m_summary;
};
