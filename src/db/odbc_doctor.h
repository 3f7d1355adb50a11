#pragma once

#include "db/data_source_list.h"
#include "db/odbc_setup.h"

#include <string>
#include <vector>

// What helps a user whose connect failed because of the ODBC set-up: the
// files the driver manager reads, the data sources it knows (nearest name
// first, "Did you mean NAME?" when one is close to what was typed) and the
// driver's library with the loader's own reason when it cannot be loaded.
class COdbcDoctor {
public:
    // A data source not found (IM002), a driver not loadable (IM003, or the
    // warning 01000 that unixODBC gives as the only record for
    // "Can't open lib"): the states of failed connects the report helps with.
    static bool Helps(const std::string& sqlState);

    // The report for a data source name or connection string, from the
    // configuration the driver manager reads now.
    static std::string Report(const std::string& dataSource);

    // Connects to the data source and disconnects again; the outcome (the
    // driver's message when it failed) and the report.
    struct Examination {
        bool connected = false;
        std::string text;
    };
    static Examination Examine(const std::string& dataSource, const std::string& userName,
                               const std::string& password);

    // The number of single-character edits between two names, ignoring case.
    static std::size_t Distance(const std::string& a, const std::string& b);

private:
    static std::string KnownDataSources(const std::string& typed, std::vector<DataSourceEntry> known);
    static std::string DriverReport(const std::string& driver, const OdbcFiles& files);
};
