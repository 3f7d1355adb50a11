#include "history/history_store.h"

#include "history/history_file.h"
#include "history/history_list.h"

#include <sqlite3.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <new>
#include <system_error>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Texts are BLOBs, so every byte comes back as it went in. The word index
// reads them from the table (external content), kept in step by triggers.
// Prefixes of one and two characters have index entries of their own: a
// search for "s" matches most words, and without them takes ~90 ms over
// 100,000 scripts instead of well under one.
constexpr const char* kSchema = R"(
CREATE TABLE IF NOT EXISTS history(
  id INTEGER PRIMARY KEY,
  time_ms INTEGER NOT NULL,
  script BLOB NOT NULL,
  data_source BLOB NOT NULL,
  user_name BLOB NOT NULL,
  statements INTEGER NOT NULL,
  failures INTEGER NOT NULL,
  cancelled INTEGER NOT NULL,
  elapsed_ms INTEGER NOT NULL);
CREATE VIRTUAL TABLE IF NOT EXISTS history_words USING fts5(
  script, data_source, user_name, content='history', content_rowid='id',
  tokenize='unicode61 remove_diacritics 2', prefix='1 2');
CREATE TRIGGER IF NOT EXISTS history_added AFTER INSERT ON history BEGIN
  INSERT INTO history_words(rowid, script, data_source, user_name)
    VALUES (new.id, new.script, new.data_source, new.user_name);
END;
CREATE TRIGGER IF NOT EXISTS history_dropped AFTER DELETE ON history BEGIN
  INSERT INTO history_words(history_words, rowid, script, data_source, user_name)
    VALUES ('delete', old.id, old.script, old.data_source, old.user_name);
END;
)";

constexpr const char* kColumns =
    "SELECT id, time_ms, script, data_source, user_name, statements, failures, cancelled, elapsed_ms FROM history ";

// A prepared statement, finalised on every way out. A statement that did
// not prepare fails its first step with the preparation's error.
class CStatement {
public:
    CStatement(sqlite3* db, const std::string& sql) { m_rc = sqlite3_prepare_v2(db, sql.c_str(), -1, &m_stmt, nullptr); }
    ~CStatement() { sqlite3_finalize(m_stmt); }
    CStatement(const CStatement&) = delete;
    CStatement& operator=(const CStatement&) = delete;

    void Bind(int index, const std::string& bytes) {
        // A non-null pointer: an empty text is an empty BLOB, not NULL.
        if (m_stmt) sqlite3_bind_blob64(m_stmt, index, bytes.data(), bytes.size(), SQLITE_TRANSIENT);
    }
    void Bind(int index, std::int64_t value) {
        if (m_stmt) sqlite3_bind_int64(m_stmt, index, value);
    }
    void BindText(int index, const std::string& text) {
        if (m_stmt) sqlite3_bind_text64(m_stmt, index, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
    }
    int Step() { return m_stmt ? sqlite3_step(m_stmt) : m_rc; }

    std::int64_t Int(int column) const { return sqlite3_column_int64(m_stmt, column); }
    std::string Bytes(int column) const {
        const void* bytes = sqlite3_column_blob(m_stmt, column);
        const int size = sqlite3_column_bytes(m_stmt, column);
        return bytes ? std::string(static_cast<const char*>(bytes), static_cast<std::size_t>(size)) : std::string();
    }

private:
    sqlite3_stmt* m_stmt = nullptr;
    int m_rc;
};

// Every row of a statement that selects kColumns; false when it failed.
bool ReadRecords(CStatement& select, std::vector<HistoryRecord>& records) {
    int rc;
    while ((rc = select.Step()) == SQLITE_ROW) {
        records.push_back(HistoryRecord{.id = select.Int(0), .timeMs = select.Int(1), .script = select.Bytes(2),
                                        .dataSource = select.Bytes(3), .userName = select.Bytes(4),
                                        .statements = static_cast<int>(select.Int(5)),
                                        .failures = static_cast<int>(select.Int(6)), .cancelled = select.Int(7) != 0,
                                        .elapsedMs = select.Int(8)});
    }
    return rc == SQLITE_DONE;
}

int Exec(sqlite3* db, const char* sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr); }

bool MeansDamage(int rc) { return (rc & 0xFF) == SQLITE_NOTADB || (rc & 0xFF) == SQLITE_CORRUPT; }

bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r') || c == '\0'; }

// The full-text query for words: each word an FTS5 string (quotes doubled),
// so nothing in it is an operator, and a prefix, so a word being typed
// already finds. A word without letters or digits is no condition beside
// other words, and finds nothing alone.
std::string MatchExpression(const std::string& words) {
    std::string match;
    for (std::size_t at = 0; at < words.size();) {
        while (at < words.size() && IsBlank(words[at])) ++at;
        if (at == words.size()) break;
        match += match.empty() ? "\"" : " \"";
        for (; at < words.size() && !IsBlank(words[at]); ++at) match += words[at] == '"' ? "\"\"" : std::string(1, words[at]);
        match += "\"*";
    }
    return match;
}

int StopWhenCancelled(void* cancel) { return static_cast<const std::atomic<bool>*>(cancel)->load() ? 1 : 0; }

std::int64_t NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

}  // namespace

CHistoryStore::CHistoryStore(const std::string& path, int limit) : m_nLimit(limit > 0 ? limit : kDefaultLimit) {
    if (limit <= 0 || !OpenFile(path)) OpenMemory();
}

CHistoryStore::~CHistoryStore() { Close(); }

void CHistoryStore::Close() noexcept {
    sqlite3_close_v2(m_db);
    m_db = nullptr;
}

bool CHistoryStore::OpenFile(const std::string& path) {
    m_name = path;
    m_nOpenFlags = SQLITE_OPEN_READWRITE;
    m_bOnDisk = true;
    std::error_code error;
    const fs::path folder = fs::path(path).parent_path();
    fs::create_directories(folder, error);
    if (!error) {
        const bool damaged = history_file::LooksDamaged(path);
        std::string movedAs = damaged ? history_file::MoveAside(path, std::time(nullptr)) : std::string();
        int rc = damaged && movedAs.empty() ? SQLITE_CANTOPEN : Open();
        if (MeansDamage(rc) && movedAs.empty()) {
            movedAs = history_file::MoveAside(path, std::time(nullptr));
            if (!movedAs.empty()) rc = Open();
        }
        if (rc == SQLITE_OK) {
            if (!movedAs.empty())
                m_message = "The history file was damaged; it was moved aside as " + movedAs +
                            " and a new one was started.";
            return true;
        }
    }
    m_bOnDisk = false;
    m_message = "The history folder " + folder.string() +
                " cannot be written; the history of this session is kept in memory only.";
    return false;
}

void CHistoryStore::OpenMemory() {
    // A named in-memory database, so that the search connections see it
    // while this connection keeps it alive.
    static std::atomic<int> s_count{0};
    m_name = "file:/tarnwell-history-" + std::to_string(getpid()) + "-" + std::to_string(++s_count) + "?vfs=memdb";
    m_nOpenFlags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_URI;
    m_bOnDisk = false;
    Open();
}

int CHistoryStore::Open() {
    int rc = sqlite3_open_v2(m_name.c_str(), &m_db, m_nOpenFlags | SQLITE_OPEN_CREATE, nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_extended_result_codes(m_db, 1);
        sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
        if (m_bOnDisk) rc = Exec(m_db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;");
    }
    if (rc == SQLITE_OK) rc = Exec(m_db, "BEGIN IMMEDIATE");
    if (rc == SQLITE_OK) rc = Exec(m_db, kSchema);
    if (rc == SQLITE_OK) rc = Exec(m_db, "COMMIT");
    if (rc == SQLITE_OK) {
        // Reads the newest entry's pages, so that damage shows now.
        CStatement probe(m_db, std::string(kColumns) + "ORDER BY id DESC LIMIT 1");
        while ((rc = probe.Step()) == SQLITE_ROW) {}
        if (rc == SQLITE_DONE) rc = SQLITE_OK;
    }
    if (rc == SQLITE_OK && sqlite3_db_readonly(m_db, "main") == 1) rc = SQLITE_READONLY;
    if (rc != SQLITE_OK) Close();
    return rc;
}

void CHistoryStore::SetFailureHandler(std::function<void(const std::string&)> handler) {
    const std::lock_guard lock(m_mutex);
    m_failureHandler = std::move(handler);
}

void CHistoryStore::Record(const HistoryRecord& record) {
    std::function<void(const std::string&)> report;
    std::string failure;
    try {
        const std::lock_guard lock(m_mutex);
        int rc = m_db ? Exec(m_db, "BEGIN IMMEDIATE") : SQLITE_CANTOPEN;
        if (rc == SQLITE_OK) {
            CStatement insert(m_db,
                              "INSERT INTO history(time_ms, script, data_source, user_name, statements, failures, "
                              "cancelled, elapsed_ms) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)");
            insert.Bind(1, record.timeMs ? record.timeMs : NowMs());
            insert.Bind(2, record.script);
            insert.Bind(3, record.dataSource);
            insert.Bind(4, record.userName);
            insert.Bind(5, std::int64_t{record.statements});
            insert.Bind(6, std::int64_t{record.failures});
            insert.Bind(7, std::int64_t{record.cancelled});
            insert.Bind(8, record.elapsedMs);
            rc = insert.Step();
        }
        if (rc == SQLITE_DONE) {
            // Ids are given one above the largest and only the oldest go,
            // so the newest limit entries are the ids above max - limit.
            CStatement trim(m_db, "DELETE FROM history WHERE id <= (SELECT max(id) FROM history) - ?1");
            trim.Bind(1, std::int64_t{m_nLimit});
            rc = trim.Step();
        }
        if (rc == SQLITE_DONE) rc = Exec(m_db, "COMMIT");
        if (rc != SQLITE_OK) {
            failure = m_db ? sqlite3_errmsg(m_db) : "no database";
            if (m_db) Exec(m_db, "ROLLBACK");
        }
        if (!failure.empty() && !m_bFailing) report = m_failureHandler;
        m_bFailing = !failure.empty();
    } catch (const std::bad_alloc&) {
        failure = "out of memory";
    }
    if (report) report("The run could not be added to the history: " + failure + ".");
}

std::vector<HistoryRecord> CHistoryStore::Newest(std::size_t count) const {
    std::vector<HistoryRecord> records;
    const std::lock_guard lock(m_mutex);
    if (!m_db) return records;
    CStatement select(m_db, std::string(kColumns) + "ORDER BY id DESC LIMIT ?1");
    select.Bind(1, static_cast<std::int64_t>(count));
    if (!ReadRecords(select, records)) records.clear();
    return records;
}

void CHistoryStore::Fill(CHistoryList& list) const {
    const std::vector<HistoryRecord> newest = Newest(CHistoryList::kMaxEntries);
    std::vector<std::string> texts;
    for (auto record = newest.rbegin(); record != newest.rend(); ++record) texts.push_back(record->script);
    list.Restore(std::move(texts));
}

std::vector<HistoryRecord> CHistoryStore::Search(const std::string& words, const std::atomic<bool>* cancel) const {
    std::vector<HistoryRecord> found;
    const std::string match = MatchExpression(words);
    if (match.empty()) return found;
    sqlite3* db = nullptr;
    const bool opened = sqlite3_open_v2(m_name.c_str(), &db, m_nOpenFlags, nullptr) == SQLITE_OK;
    if (opened) {
        sqlite3_busy_timeout(db, kBusyTimeoutMs);
        if (cancel) sqlite3_progress_handler(db, 1000, StopWhenCancelled, const_cast<std::atomic<bool>*>(cancel));
        CStatement select(db, std::string(kColumns) +
                                  "WHERE id IN (SELECT rowid FROM history_words WHERE history_words MATCH ?1 "
                                  "ORDER BY rowid DESC LIMIT ?2) ORDER BY id DESC");
        select.BindText(1, match);
        select.Bind(2, static_cast<std::int64_t>(kMaxFound));
        if (!ReadRecords(select, found)) found.clear();
    }
    sqlite3_close_v2(db);
    return found;
}
