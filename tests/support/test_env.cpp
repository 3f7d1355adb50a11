#include "support/test_env.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

namespace fs = std::filesystem;

namespace test_env {
namespace {

struct State {
    std::string tempDir;
    std::string odbcIni;
    std::string sqliteDsn = "TestSQLite";
    std::string pgDsn = "TestPostgreSQL";
    std::string pgUser;
    std::string pgPassword;
    bool havePostgres = false;
    int databases = 0;
};

State& S() {
    static State state;
    return state;
}

std::string Env(const char* name, const char* fallback = "") {
    const char* value = std::getenv(name);
    return value && *value ? value : fallback;
}

// Driver library paths: the harness may name them; Debian's are the default.
std::string DriverDir() {
    return Env("TARNWELL_ODBC_DRIVER_DIR", "/usr/lib/x86_64-linux-gnu/odbc");
}

void AppendDsn(const std::string& name, const std::string& body) {
    std::ofstream ini(S().odbcIni, std::ios::app);
    ini << "[" << name << "]\n" << body << "\n";
    if (!ini) throw std::runtime_error("cannot write " + S().odbcIni);
}

}  // namespace

void Initialise() {
    State& s = S();
    char pattern[] = "/tmp/tarnwell-test-XXXXXX";
    if (!mkdtemp(pattern)) throw std::runtime_error("cannot create a temporary folder");
    s.tempDir = pattern;
    s.odbcIni = s.tempDir + "/odbc.ini";

    {
        std::ofstream inst(s.tempDir + "/odbcinst.ini");
        inst << "[SQLite3]\nDescription=SQLite3 ODBC Driver\nDriver=" << DriverDir()
             << "/libsqlite3odbc.so\n\n"
             << "[PostgreSQL ANSI]\nDescription=PostgreSQL ODBC driver (ANSI version)\nDriver=" << DriverDir()
             << "/psqlodbca.so\n\n"
             // The statement never returns: the library must stay loaded
             // after the connection that the test gives up on is gone.
             << "[TarnwellStuck]\nDriver=" TARNWELL_STUCK_DRIVER "\nDontDLClose=1\n\n";
    }
    std::ofstream(s.odbcIni).flush();
    fs::create_directories(s.tempDir + "/config");
    setenv("ODBCSYSINI", s.tempDir.c_str(), 1);
    setenv("ODBCINSTINI", "odbcinst.ini", 1);
    setenv("ODBCINI", s.odbcIni.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (s.tempDir + "/config").c_str(), 1);
    setenv("XDG_DATA_HOME", (s.tempDir + "/data").c_str(), 1);
    setenv("XDG_STATE_HOME", (s.tempDir + "/state").c_str(), 1);

    NewSqliteDsn(s.sqliteDsn);

    s.havePostgres = !Env("TARNWELL_PG_PORT").empty();
    if (s.havePostgres) {
        s.pgUser = Env("TARNWELL_PG_USER", "tarnwell");
        s.pgPassword = Env("TARNWELL_PG_PASSWORD");
        NewPgDsn(s.pgDsn, "");
    }
}

void Cleanup() {
    std::error_code ignored;
    if (!S().tempDir.empty() && Env("TARNWELL_KEEP_TEST_FILES").empty()) fs::remove_all(S().tempDir, ignored);
}

const std::string& TempDir() { return S().tempDir; }
std::string TempPath(const std::string& name) { return S().tempDir + "/" + name; }

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    return path;
}
const std::string& SqliteDsn() { return S().sqliteDsn; }

std::string NewSqliteDsn(const std::string& name, const std::string& extraLines) {
    const std::string file = S().tempDir + "/db" + std::to_string(++S().databases) + ".sqlite";
    AppendDsn(name, "Driver=SQLite3\nDatabase=" + file + "\nTimeout=2000\n" + extraLines);
    return name;
}

std::string NewStuckDsn(const std::string& name) {
    AppendDsn(name, "Driver=TarnwellStuck\n");
    return name;
}

bool HavePostgres() { return S().havePostgres; }
bool PostgresRequired() { return Env("TARNWELL_REQUIRE_PG") == "1"; }
const std::string& PgDsn() { return S().pgDsn; }
const std::string& PgUser() { return S().pgUser; }
const std::string& PgPassword() { return S().pgPassword; }

namespace {

std::string NewDsnOnPort(const std::string& name, const std::string& port, const std::string& extraLines) {
    AppendDsn(name, "Driver=PostgreSQL ANSI\nServername=" + Env("TARNWELL_PG_HOST", "127.0.0.1") + "\nPort=" + port +
                        "\nDatabase=" + Env("TARNWELL_PG_DATABASE", "tarnwell") + "\n" + extraLines);
    return name;
}

}  // namespace

std::string NewPgDsn(const std::string& name, const std::string& extraLines) {
    return NewDsnOnPort(name, Env("TARNWELL_PG_PORT"), extraLines);
}

std::string NewFaultPgDsn(const std::string& name, const std::string& extraLines) {
    return NewDsnOnPort(name, Env("TARNWELL_PG_FAULT_PORT"), extraLines);
}

std::string StopFaultServerSql() { return "copy (select 1) to program '" + Env("TARNWELL_PG_FAULT_CTL") + " stop'"; }

bool ControlFaultServer(const std::string& action) {
    const std::string ctl = Env("TARNWELL_PG_FAULT_CTL");
    return !ctl.empty() && std::system((ctl + " " + action).c_str()) == 0;
}

}  // namespace test_env
