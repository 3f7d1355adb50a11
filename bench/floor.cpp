// The floor of the speed benchmark: the least a program has to do to show a
// result set as a fixed-width text table through ODBC. It makes the same ODBC
// calls as the worksheet (ODBC 2 style handles, SQLExecDirect, one
// SQLDescribeCol and one SQL_C_CHAR SQLBindCol per column, an SQLFetch loop),
// sizes the columns by the same rule (reported size, 0 -> 10, at most 99) and
// builds every row as a line (value padded or cut to its width, one space
// after each column, "\r\n"), then drops it. Only the work from SQLExecDirect
// to the freeing of the statement after the last fetch is timed (wall clock
// and processor time); first_row is the time from SQLExecDirect to the first
// row's line, the earliest a program using this driver could show a row.
//
//   bench_floor --dsn NAME [--user NAME] [--print] STATEMENT
//
// The password comes from the environment variable TARNWELL_PASSWORD (empty
// when it is not set). Writes "bench: seconds=S cpu=C rows=N bytes=B
// first_row=F" to standard error. With --print the table also goes to
// standard output (to look at it; not for timing).

#include "odbc_session.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace bench;

constexpr int kDefColLen = 10;
constexpr int kMaxColLen = 100;

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

int Run(const FloorOptions& options) {
    COdbcSession session(options.dsn, options.user, options.password);
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = ProcessCpuSeconds();

    auto handle = std::make_unique<CStatementHandle>(session);
    const SQLHSTMT stmt = handle->Get();
    Check(SQLExecDirect(stmt, Chars(options.argument), SQL_NTS), SQL_HANDLE_STMT, stmt, "SQLExecDirect");
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
    double firstRow = -1;
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
        if (rows == 0) firstRow = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        bytes += static_cast<std::size_t>(out - line.data());
        ++rows;
        if (options.print) std::fwrite(line.data(), 1, static_cast<std::size_t>(out - line.data()), stdout);
    }
    handle.reset();

    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double cpu = ProcessCpuSeconds() - cpuStart;
    std::fflush(stdout);
    std::fprintf(stderr, "bench: seconds=%.3f cpu=%.3f rows=%ld bytes=%zu first_row=%.3f\n", seconds, cpu, rows, bytes,
                 firstRow);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return Run(ParseFloorOptions(argc, argv, "usage: bench_floor --dsn NAME [--user NAME] [--print] STATEMENT"));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "bench_floor: %s\n", error.what());
        return 1;
    }
}
