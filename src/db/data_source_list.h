#pragma once

#include <string>
#include <vector>

// One data source the driver manager knows.
struct DataSourceEntry {
    std::string name;
    std::string driver;     // the Driver= value: a driver name or a library path
    bool system = false;    // from the system odbc.ini, else from the user's
};

// The user and system data sources, as SQLDataSources lists them.
class CDataSourceList {
public:
    // The user data sources, then the system ones, each in file order; a
    // system data source that a user one of the same name hides (the driver
    // manager connects to the user's) is left out. Empty when the driver
    // manager cannot be reached.
    static std::vector<DataSourceEntry> Read();

    // One line per data source: name, driver and "user" or "system",
    // separated by tabs (what --list-dsn prints).
    static std::string Text(const std::vector<DataSourceEntry>& entries);
};
