#pragma once

#include "history/history_record.h"

// Where a run's history entry goes at the end of the run, on the run's own
// thread. Record never throws and never stops the run: a failure to keep
// the entry is the recorder's to report.
class CHistoryRecorder {
public:
    virtual ~CHistoryRecorder() = default;
    virtual void Record(const HistoryRecord& record) = 0;
};
