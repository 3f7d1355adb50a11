// What the floor programs of the speed benchmark share: one ODBC connection
// made with ODBC 2 style handles (as the worksheet makes it), error checks that
// throw with the first diagnostic record, the processor-time clock and the
// command-line options every floor takes.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <cstdlib>
#include <ctime>
#include <stdexcept>
#include <string>

namespace bench {

// Throws with the first diagnostic record of the handle when rc is not a success.
inline void Check(SQLRETURN rc, SQLSMALLINT type, SQLHANDLE handle, const char* what) {
    if (rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO) return;
    SQLCHAR state[6] = {};
    SQLCHAR text[512] = {};
    SQLINTEGER native = 0;
    SQLSMALLINT length = 0;
    std::string message = std::string(what) + " failed";
    if (handle && SQLGetDiagRec(type, handle, 1, state, &native, text, sizeof text, &length) == SQL_SUCCESS)
        message += std::string(": ") + reinterpret_cast<char*>(text) + " (" + reinterpret_cast<char*>(state) + ")";
    throw std::runtime_error(message);
}

inline SQLCHAR* Chars(const std::string& text) { return reinterpret_cast<SQLCHAR*>(const_cast<char*>(text.c_str())); }

// The environment and connection handles, connected; freed in reverse order.
class COdbcSession {
public:
    COdbcSession(const std::string& dsn, const std::string& user, const std::string& password) {
        Check(SQLAllocEnv(&m_env), SQL_HANDLE_ENV, nullptr, "SQLAllocEnv");
        Check(SQLAllocConnect(m_env, &m_dbc), SQL_HANDLE_ENV, m_env, "SQLAllocConnect");
        Check(SQLConnect(m_dbc, Chars(dsn), SQL_NTS, Chars(user), SQL_NTS, Chars(password), SQL_NTS),
              SQL_HANDLE_DBC, m_dbc, "SQLConnect");
        m_connected = true;
    }
    ~COdbcSession() {
        if (m_connected) SQLDisconnect(m_dbc);
        if (m_dbc) SQLFreeConnect(m_dbc);
        if (m_env) SQLFreeEnv(m_env);
    }
    COdbcSession(const COdbcSession&) = delete;
    COdbcSession& operator=(const COdbcSession&) = delete;

    SQLHDBC Connection() const { return m_dbc; }

private:
    SQLHENV m_env = nullptr;
    SQLHDBC m_dbc = nullptr;
    bool m_connected = false;
};

// One statement handle of a session, dropped when it goes out of scope.
class CStatementHandle {
public:
    explicit CStatementHandle(const COdbcSession& session) {
        Check(SQLAllocStmt(session.Connection(), &m_stmt), SQL_HANDLE_DBC, session.Connection(), "SQLAllocStmt");
    }
    ~CStatementHandle() { SQLFreeStmt(m_stmt, SQL_DROP); }
    CStatementHandle(const CStatementHandle&) = delete;
    CStatementHandle& operator=(const CStatementHandle&) = delete;

    SQLHSTMT Get() const { return m_stmt; }

private:
    SQLHSTMT m_stmt = nullptr;
};

// Processor time so far, in seconds, of this process (all threads) or of
// the calling thread.
inline double CpuSeconds(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) + now.tv_nsec / 1e9;
}
inline double ProcessCpuSeconds() { return CpuSeconds(CLOCK_PROCESS_CPUTIME_ID); }
inline double ThreadCpuSeconds() { return CpuSeconds(CLOCK_THREAD_CPUTIME_ID); }

// "--dsn NAME [--user NAME] [--print] [--spool FILE] ARGUMENT", shared by
// the bench programs (each uses what it needs); the password comes from the
// environment variable TARNWELL_PASSWORD (empty when it is not set).
struct FloorOptions {
    std::string dsn;
    std::string user;
    std::string password;
    std::string spool;
    std::string argument;
    bool print = false;
};

inline FloorOptions ParseFloorOptions(int argc, char** argv, const char* usage) {
    FloorOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) throw std::runtime_error(arg + " needs a value");
            return argv[++i];
        };
        if (arg == "--dsn") options.dsn = value();
        else if (arg == "--user") options.user = value();
        else if (arg == "--print") options.print = true;
        else if (arg == "--spool") options.spool = value();
        else if (options.argument.empty() && arg.rfind("--", 0) != 0) options.argument = arg;
        else throw std::runtime_error("unexpected argument " + arg);
    }
    if (options.dsn.empty() || options.argument.empty()) throw std::runtime_error(usage);
    if (const char* password = std::getenv("TARNWELL_PASSWORD")) options.password = password;
    return options;
}

}  // namespace bench
