#pragma once

#include <cstdint>
#include <string>

// One executed script as the durable history keeps it. Texts are bytes,
// stored and given back unchanged (NUL bytes, line ends, invalid UTF-8).
// There is no password here: the history never holds one.
struct HistoryRecord {
    std::int64_t id = 0;            // given by the store; newer entries have larger ids
    std::int64_t timeMs = 0;        // when the run ended, milliseconds since 1970 (UTC)
    std::string script;             // the text that ran
    std::string dataSource;
    std::string userName;
    int statements = 0;             // statements sent to the data source
    int failures = 0;               // of which failed
    bool cancelled = false;         // the run was stopped early
    std::int64_t elapsedMs = 0;     // how long the run took

    // The History dialog's line for a found entry: the local time to the
    // minute, the data source and the first line of the script, cut as the
    // list lines of the session's entries are.
    std::string ListLine() const;
};
