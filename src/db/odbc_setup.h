#pragma once

#include <optional>
#include <string>

// The files the driver manager reads, as odbcinst -j shows them: ODBCSYSINI
// (or the built-in folder) with ODBCINSTINI for the drivers, odbc.ini beside
// it for the system data sources, ODBCINI (or ~/.odbc.ini) for the user's.
struct OdbcFiles {
    std::string drivers;
    std::string systemDataSources;
    std::string userDataSources;
};

// Reads the driver manager's configuration through its installer library
// (libodbcinst), so that what it reports is what the driver manager uses.
class COdbcSetup {
public:
    static OdbcFiles Files();

    // The Driver= value of a data source (user first, then system): a driver
    // name of odbcinst.ini or a library path; "" for an unknown data source.
    static std::string DataSourceDriver(const std::string& dataSource);

    // The library of a driver named in odbcinst.ini (Driver64, else Driver,
    // as the driver manager looks them up): nullopt when odbcinst.ini has
    // no such driver, "" when its entry names no library. A driver given as
    // a path (holding "/") is its own library.
    static std::optional<std::string> DriverLibrary(const std::string& driver);

    // The Description= of a driver named in odbcinst.ini ("" when none).
    static std::string DriverDescription(const std::string& driver);

    // What the loader says when it cannot load the library, as the driver
    // manager would load it; "" when it loads.
    static std::string LoadError(const std::string& library);
};
