#pragma once

#include <string>

// Each test process runs in a private environment, set up by the shared test
// main before any test: a temporary folder holding odbcinst.ini and odbc.ini
// (ODBCSYSINI, ODBCINI), the settings folder (XDG_CONFIG_HOME) and the
// folder of history and recovery files (XDG_STATE_HOME). It is
// removed when the process ends.
namespace test_env {

// Sets everything up; called once by the shared main.
void Initialise();
void Cleanup();

// The private temporary folder of this process, and a path in it.
const std::string& TempDir();
std::string TempPath(const std::string& name);

// Every byte of a file ("" when it cannot be read).
std::string ReadFile(const std::string& path);
// Writes bytes to path, replacing the file; returns path.
std::string WriteFile(const std::string& path, const std::string& bytes);

// "TestSQLite": a data source on a fresh SQLite database file of this process.
const std::string& SqliteDsn();

// Registers one more SQLite data source on a fresh, empty database file and
// returns its name; options are extra "Key=Value" lines for odbc.ini.
std::string NewSqliteDsn(const std::string& name, const std::string& extraLines = {});

// Registers a data source on a driver whose statements never return and
// whose SQLCancel does not stop them (connecting always succeeds), and
// returns its name. The driver writes "TarnwellStuck: executing" to
// standard error as a statement goes in.
std::string NewStuckDsn(const std::string& name);

// PostgreSQL through psqlODBC, when the harness started a test server
// (TARNWELL_PG_PORT is set). Tests that need it call GTEST_SKIP() without it;
// the harness sets TARNWELL_REQUIRE_PG=1, and then a missing server fails.
bool HavePostgres();
const std::string& PgDsn();        // "TestPostgreSQL"
const std::string& PgUser();
const std::string& PgPassword();
// Registers one more PostgreSQL data source with extra odbc.ini lines (for
// example "UseDeclareFetch=1" and "Fetch=2") and returns its name.
std::string NewPgDsn(const std::string& name, const std::string& extraLines);

// The fault server: a second PostgreSQL server of the harness that tests may
// stop and start (TARNWELL_PG_FAULT_PORT, TARNWELL_PG_FAULT_CTL).
std::string NewFaultPgDsn(const std::string& name, const std::string& extraLines = {});
// A statement that stops the fault server from inside a script and fails
// because its own session goes with it.
std::string StopFaultServerSql();
// Stops (an immediate shutdown) or starts the fault server; true on success.
bool ControlFaultServer(const std::string& action);

}  // namespace test_env

// Skips the current test when no PostgreSQL server is there (fails instead
// when the harness requires one).
#define TARNWELL_REQUIRE_POSTGRES()                                               \
    do {                                                                          \
        if (!::test_env::HavePostgres()) {                                        \
            if (::test_env::PostgresRequired()) FAIL() << "no PostgreSQL server"; \
            GTEST_SKIP() << "no PostgreSQL server";                               \
        }                                                                         \
    } while (0)

namespace test_env {
bool PostgresRequired();
}
