// The floor of the speed benchmark: the least a program has to do to show a
// result set as a fixed-width text table through ODBC. It makes the same ODBC
// calls as the worksheet (ODBC 2 style handles, SQLExecDirect, one
// SQLDescribeCol and one SQL_C_CHAR SQLBindCol per column, an SQLFetch loop),
// sizes the columns by the same rule (reported size, 0 -> 10, at most 99) and
// builds every row as a line (value padded or cut to its width, one space
// after each column, "\r\n"), then drops it. Only the work from SQLExecDirect
// to the last fetch is timed (wall clock and processor time).
//
//   bench_floor --dsn NAME [--user NAME] [--print] STATEMENT
//
// The password comes from the environment variable TARNWELL_PASSWORD (empty
// when it is not set). Writes "bench: seconds=S cpu=C rows=N bytes=B" to standard error. With --print the
// table also goes to standard output (to look at it; not for timing).

#include <sql.h>
#include <sqlext.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int kDefColLen = 10;
constexpr int kMaxColLen = 100;

// Throws with the first diagnostic record of the handle when rc is not a success.
void Check(SQLRETURN rc, SQLSMALLINT type, SQLHANDLE handle, const char* what) {
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

// The three handles of one connection and its statement, freed in reverse order.
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
        if (m_stmt) SQLFreeStmt(m_stmt, SQL_DROP);
        if (m_connected) SQLDisconnect(m_dbc);
        if (m_dbc) SQLFreeConnect(m_dbc);
        if (m_env) SQLFreeEnv(m_env);
    }
    COdbcSession(const COdbcSession&) = delete;
    COdbcSession& operator=(const COdbcSession&) = delete;

    SQLHSTMT NewStatement() {
        Check(SQLAllocStmt(m_dbc, &m_stmt), SQL_HANDLE_DBC, m_dbc, "SQLAllocStmt");
        return m_stmt;
    }
    void DropStatement() {
        SQLFreeStmt(m_stmt, SQL_DROP);
        m_stmt = nullptr;
    }

private:
    static SQLCHAR* Chars(const std::string& text) {
        return reinterpret_cast<SQLCHAR*>(const_cast<char*>(text.c_str()));
    }

    SQLHENV m_env = nullptr;
    SQLHDBC m_dbc = nullptr;
    SQLHSTMT m_stmt = nullptr;
    bool m_connected = false;
};

struct Options {
    std::string dsn;
    std::string user;
    std::string password;
    std::string statement;
    bool print = false;
};

Options ParseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) throw std::runtime_error(arg + " needs a value");
            return argv[++i];
        };
        if (arg == "--dsn") options.dsn = value();
        else if (arg == "--user") options.user = value();
        else if (arg == "--print") options.print = true;
        else if (options.statement.empty() && arg.rfind("--", 0) != 0) options.statement = arg;
        else throw std::runtime_error("unexpected argument " + arg);
    }
    if (options.dsn.empty() || options.statement.empty())
        throw std::runtime_error("usage: bench_floor --dsn NAME [--user NAME] [--print] STATEMENT");
    if (const char* password = std::getenv("TARNWELL_PASSWORD")) options.password = password;
    return options;
}

// Processor time of this process so far (all threads), in seconds.
double ProcessCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + now.tv_nsec / 1e9;
}

// Keeps the compiler from dropping the line that nobody reads.
inline void Consume(const char* line) { asm volatile("" : : "r"(line) : "memory"); }

struct Column {
    int width = 0;
    std::vector<char> value = std::vector<char>(kMaxColLen);
    SQLLEN indicator = 0;
};

// Copies text padded with spaces or cut to width bytes, then one space.
char* PutCell(char* out, const char* text, std::size_t length, int width) {
    const std::size_t w = static_cast<std::size_t>(width);
    const std::size_t n = std::min(length, w);
    std::memcpy(out, text, n);
    std::memset(out + n, ' ', w - n + 1);
    return out + w + 1;
}

int Run(const Options& options) {
    COdbcSession session(options.dsn, options.user, options.password);
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = ProcessCpuSeconds();

    SQLHSTMT stmt = session.NewStatement();
    Check(SQLExecDirect(stmt, reinterpret_cast<SQLCHAR*>(const_cast<char*>(options.statement.c_str())), SQL_NTS),
          SQL_HANDLE_STMT, stmt, "SQLExecDirect");
    SQLSMALLINT count = 0;
    Check(SQLNumResultCols(stmt, &count), SQL_HANDLE_STMT, stmt, "SQLNumResultCols");

    std::vector<Column> columns(static_cast<std::size_t>(count));
    std::string header;
    std::size_t lineWidth = 0;
    for (SQLUSMALLINT i = 1; i <= static_cast<SQLUSMALLINT>(count); ++i) {
        Column& column = columns[i - 1];
        SQLCHAR name[kMaxColLen] = {};
        SQLSMALLINT nameLength = 0, type = 0, digits = 0, nullable = 0;
        SQLULEN size = 0;
        Check(SQLDescribeCol(stmt, i, name, kMaxColLen, &nameLength, &type, &size, &digits, &nullable),
              SQL_HANDLE_STMT, stmt, "SQLDescribeCol");
        SQLULEN width = size == 0 ? kDefColLen : size;
        column.width = static_cast<int>(std::min<SQLULEN>(width, kMaxColLen - 1));
        std::string cell(static_cast<std::size_t>(column.width) + 1, ' ');
        PutCell(cell.data(), reinterpret_cast<char*>(name), std::strlen(reinterpret_cast<char*>(name)), column.width);
        header += cell;
        lineWidth += static_cast<std::size_t>(column.width) + 1;
        Check(SQLBindCol(stmt, i, SQL_C_CHAR, column.value.data(), kMaxColLen, &column.indicator),
              SQL_HANDLE_STMT, stmt, "SQLBindCol");
    }

    std::vector<char> line(lineWidth + 3);
    std::size_t bytes = header.size() + 2;
    long rows = 0;
    if (options.print) std::printf("%s\r\n", header.c_str());
    for (;;) {
        const SQLRETURN rc = SQLFetch(stmt);
        if (rc != SQL_SUCCESS && rc != SQL_SUCCESS_WITH_INFO) break;
        char* out = line.data();
        for (const Column& column : columns) {
            if (column.indicator == SQL_NULL_DATA) out = PutCell(out, "", 0, column.width);
            else out = PutCell(out, column.value.data(), std::strlen(column.value.data()), column.width);
        }
        *out++ = '\r';
        *out++ = '\n';
        *out = '\0';
        Consume(line.data());
        bytes += static_cast<std::size_t>(out - line.data());
        ++rows;
        if (options.print) std::fwrite(line.data(), 1, static_cast<std::size_t>(out - line.data()), stdout);
    }
    session.DropStatement();

    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double cpu = ProcessCpuSeconds() - cpuStart;
    std::fflush(stdout);
    std::fprintf(stderr, "bench: seconds=%.3f cpu=%.3f rows=%ld bytes=%zu\n", seconds, cpu, rows, bytes);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return Run(ParseOptions(argc, argv));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "bench_floor: %s\n", error.what());
        return 1;
    }
}
