// The ODBC doctor in the process's private ODBC world (test_env: odbcinst.ini
// and odbc.ini in a temporary folder), and connection strings through the
// real SQLite and PostgreSQL drivers.
#include "db/db_connection.h"
#include "db_error_of.h"
#include "db/odbc_doctor.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

void Append(const std::string& file, const std::string& text) {
    std::ofstream(test_env::TempPath(file), std::ios::app) << text;
}

TEST(OdbcDoctorTest, ReportNamesTheFilesTheNearestDataSourceAndWhyADriverDoesNotLoad) {
    const std::string missing = test_env::TempPath("no-such-driver.so");
    const std::string notLibrary = test_env::WriteFile(test_env::TempPath("not-a-driver.so"), "not a library\n");
    Append("odbcinst.ini", "[MissingLib]\nDriver=" + missing + "\n\n[NotALib]\nDriver=" + notLibrary +
                               "\n\n[NoLib]\nDescription=no library\n\n");
    Append("odbc.ini", "[DoctorMissing]\nDriver=MissingLib\n\n[DoctorNotLib]\nDriver=NotALib\n\n");
    test_env::NewSqliteDsn("TarnwellDemo");

    const std::string drivers = test_env::TempPath("odbcinst.ini");
    const std::string files = "The driver manager reads (as odbcinst -j shows):\n  drivers:             " + drivers +
                              "\n  system data sources: " + test_env::TempPath("odbc.ini") +
                              "\n  user data sources:   " + test_env::TempPath("odbc.ini") + "\n";
    const std::string notLoaded = "Driver NotALib: " + notLibrary + "\n  The library cannot be loaded: " + notLibrary + ": ";
    // part: what the report holds after the files
    const struct { std::string dataSource, part; } cases[] = {
        {"TarnwelDemo", "Did you mean TarnwellDemo?\nKnown data sources: TarnwellDemo (user), "},
        {"DoctorMissing", "Driver MissingLib: " + missing + "\n  The library cannot be loaded: " + missing +
                              ": cannot open shared object file: No such file or directory\n"},
        {"DoctorNotLib", notLoaded},
        {"DRIVER=NotALib;PWD=secret", notLoaded},
        {"DRIVER=NoLib;", "The driver NoLib names no library (Driver=) in " + drivers + ".\n"},
        {"DRIVER=Unheard", "The driver Unheard is not in " + drivers + ".\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dataSource);
        EXPECT_TRUE(COdbcDoctor::Helps(DbErrorOf([&] { CDbConnection().Connect(c.dataSource, "", ""); }).SqlState()));
        const std::string report = COdbcDoctor::Report(c.dataSource);
        EXPECT_EQ(report.substr(0, files.size()), files);
        EXPECT_NE(report.find(c.part), std::string::npos) << report;
        EXPECT_EQ(report.find("Did you mean"), c.dataSource == "TarnwelDemo" ? files.size() : std::string::npos);
        EXPECT_EQ(report.find("secret"), std::string::npos);
    }

    const COdbcDoctor::Examination good = COdbcDoctor::Examine(test_env::SqliteDsn(), "", "");
    EXPECT_TRUE(good.connected);
    EXPECT_EQ(good.text.rfind("Connected to " + test_env::SqliteDsn() + ".\n" + files, 0), 0u) << good.text;
    EXPECT_NE(good.text.find("Driver SQLite3: "), std::string::npos) << good.text;
    EXPECT_TRUE(good.text.ends_with("\n  The library loads.\n")) << good.text;
    EXPECT_FALSE(COdbcDoctor::Examine("DRIVER=NotALib;", "", "").connected);
}

// Each connection string connects to the database it names, with the
// dialog's user name and password (that a wrong one reaches the driver: see
// the failed connects of db_odbc_test). What is kept of the data source never
// holds the password.
TEST(ConnectionStringConnectTest, ConnectionStringsConnectThroughTheirDrivers) {
    const std::string database = test_env::TempPath("named-by-string.sqlite");
    struct Case {
        std::string text, user, password, title, sql = "select 1";
    };
    std::vector<Case> cases = {
        {"DSN=" + test_env::SqliteDsn() + ";", "", "", "@" + test_env::SqliteDsn()},
        {"DRIVER=SQLite3;Database=" + database, "ann", "", "ann@SQLite3", "create table t (n integer)"},
    };
    if (test_env::HavePostgres()) {
        const std::string user = test_env::PgUser(), password = test_env::PgPassword();
        const auto env = [](const char* name, const char* fallback) {
            const char* value = std::getenv(name);
            return std::string(value && *value ? value : fallback);
        };
        const std::string server = "DRIVER={PostgreSQL ANSI};Servername=" + env("TARNWELL_PG_HOST", "127.0.0.1") +
                                   ";Port=" + env("TARNWELL_PG_PORT", "") +
                                   ";Database=" + env("TARNWELL_PG_DATABASE", "tarnwell");
        cases.push_back({"DSN=" + test_env::PgDsn(), user, password, user + "@" + test_env::PgDsn()});
        cases.push_back({server, user, password, user + "@PostgreSQL ANSI"});
    } else {
        EXPECT_FALSE(test_env::PostgresRequired()) << "no PostgreSQL server";
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        CDbConnection connection;
        connection.Connect(c.text, c.user, c.password);
        EXPECT_EQ(connection.ConnectionText(), c.title);
        EXPECT_EQ(connection.DataSource(), c.text);
        EXPECT_NO_THROW(connection.Execute(c.sql));
    }
    EXPECT_TRUE(std::filesystem::exists(database));
    CDbConnection typedPassword;
    typedPassword.Connect("DSN=" + test_env::SqliteDsn() + ";PWD=secret", "", "");
    EXPECT_EQ(typedPassword.DataSource(), "DSN=" + test_env::SqliteDsn() + ";");
}

}  // namespace
