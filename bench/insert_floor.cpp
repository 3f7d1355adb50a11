// The floor of the benchmark's insert workload: the least a program has to do
// to run a script of single statements through ODBC in autocommit. The script
// has one statement on each line, ended by ";" (which is not sent). For every
// statement it makes the ODBC calls that the worksheet makes for a statement
// without a result set (SQLAllocStmt, SQLExecDirect with the text's length,
// SQLNumResultCols, SQLFreeStmt with SQL_DROP) and nothing else: no echo, no
// transcript. Only the statements are timed (wall clock and processor time),
// not connecting or reading the file.
//
//   bench_insert_floor --dsn NAME [--user NAME] SCRIPT_FILE
//
// The password comes from the environment variable TARNWELL_PASSWORD (empty
// when it is not set). Writes "bench: seconds=S cpu=C statements=N" to
// standard error; a statement that fails ends the program with its diagnostic.

#include "odbc_session.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

namespace {

using namespace bench;

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) throw std::runtime_error("cannot read " + path);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// The line's statement: without the line end, trailing blanks and the ";".
std::string_view StatementOf(std::string_view line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
    if (!line.empty() && line.back() == ';') line.remove_suffix(1);
    return line;
}

void ExecuteOne(const COdbcSession& session, std::string_view statement) {
    CStatementHandle handle(session);
    const SQLHSTMT stmt = handle.Get();
    Check(SQLExecDirect(stmt, reinterpret_cast<SQLCHAR*>(const_cast<char*>(statement.data())),
                        static_cast<SQLINTEGER>(statement.size())),
          SQL_HANDLE_STMT, stmt, "SQLExecDirect");
    SQLSMALLINT columns = 0;
    Check(SQLNumResultCols(stmt, &columns), SQL_HANDLE_STMT, stmt, "SQLNumResultCols");
}

int Run(const FloorOptions& options) {
    const std::string script = ReadFile(options.argument);
    COdbcSession session(options.dsn, options.user, options.password);
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = ProcessCpuSeconds();

    long statements = 0;
    std::string_view rest = script;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        const std::string_view statement = StatementOf(rest.substr(0, end));
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        if (statement.empty()) continue;
        ExecuteOne(session, statement);
        ++statements;
    }

    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double cpu = ProcessCpuSeconds() - cpuStart;
    std::fprintf(stderr, "bench: seconds=%.3f cpu=%.3f statements=%ld\n", seconds, cpu, statements);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return Run(ParseFloorOptions(argc, argv, "usage: bench_insert_floor --dsn NAME [--user NAME] SCRIPT_FILE"));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "bench_insert_floor: %s\n", error.what());
        return 1;
    }
}
