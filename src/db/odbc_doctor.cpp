#include "db/odbc_doctor.h"

#include "db/connection_string.h"
#include "db/db_connection.h"
#include "db/db_exception.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <numeric>

namespace {

// Data sources named in the report at most; the rest are counted.
constexpr std::size_t kNamesShown = 12;

std::string FileLine(const char* what, const std::string& path) {
    std::string line = std::string("  ") + what + path;
    if (access(path.c_str(), F_OK) != 0)
        line += " (missing)";
    else if (access(path.c_str(), R_OK) != 0)
        line += " (not readable)";
    return line + "\n";
}

}  // namespace

bool COdbcDoctor::Helps(const std::string& sqlState) {
    return sqlState == "IM002" || sqlState == "IM003" || sqlState == "01000";
}

std::size_t COdbcDoctor::Distance(const std::string& a, const std::string& b) {
    const auto lower = [](char c) { return std::tolower(static_cast<unsigned char>(c)); };
    // One row of the edit table at a time: row[j] is the distance between
    // the first i characters of a and the first j of b.
    std::vector<std::size_t> row(b.size() + 1);
    std::iota(row.begin(), row.end(), std::size_t{0});
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t replaced = diagonal + (lower(a[i - 1]) == lower(b[j - 1]) ? 0 : 1);
            diagonal = row[j];
            row[j] = std::min({replaced, row[j] + 1, row[j - 1] + 1});
        }
    }
    return row[b.size()];
}

std::string COdbcDoctor::Report(const std::string& dataSource) {
    const OdbcFiles files = COdbcSetup::Files();
    const std::vector<DataSourceEntry> known = CDataSourceList::Read();
    std::string name = dataSource;
    std::string driver;
    if (CConnectionString::IsConnectionString(dataSource)) {
        const CConnectionString parsed(dataSource);
        name = parsed.Value("DSN").value_or("");
        driver = parsed.Value("DRIVER").value_or("");
    }
    const bool isKnown =
        std::any_of(known.begin(), known.end(), [&](const DataSourceEntry& e) { return Distance(e.name, name) == 0; });
    if (driver.empty() && isKnown) driver = COdbcSetup::DataSourceDriver(name);

    std::string report = "The driver manager reads (as odbcinst -j shows):\n" +
                         FileLine("drivers:             ", files.drivers) +
                         FileLine("system data sources: ", files.systemDataSources) +
                         FileLine("user data sources:   ", files.userDataSources);
    report += KnownDataSources(name, known);
    if (!driver.empty())
        report += DriverReport(driver, files);
    else if (isKnown)
        report += "The data source " + name + " names no driver (Driver=).\n";
    return report;
}

COdbcDoctor::Examination COdbcDoctor::Examine(const std::string& dataSource, const std::string& userName,
                                              const std::string& password) {
    Examination result;
    const std::string shown = CConnectionString::Shareable(dataSource);
    if (dataSource.empty()) {
        result.text = "No data source was named.\n";
    } else {
        try {
            CDbConnection connection;
            connection.Connect(dataSource, userName, password);
            result.connected = true;
            result.text = "Connected to " + shown + ".\n";
        } catch (const CDBException& error) {
            std::string message = error.Message();
            while (!message.empty() && (message.front() == '\r' || message.front() == '\n')) message.erase(0, 1);
            while (!message.empty() && (message.back() == '\r' || message.back() == '\n')) message.pop_back();
            result.text = "Cannot connect to " + shown + ":\n" + message + "\n";
        }
    }
    result.text += Report(dataSource);
    return result;
}

std::string COdbcDoctor::KnownDataSources(const std::string& typed, std::vector<DataSourceEntry> known) {
    if (known.empty()) return "No data source is defined.\n";
    std::vector<std::size_t> distance;
    for (const DataSourceEntry& entry : known) distance.push_back(Distance(entry.name, typed));
    std::vector<std::size_t> order(known.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    const std::size_t nearest = *std::min_element(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return distance[a] < distance[b];
    });
    // Close: a few edits, at most one for every three characters of the
    // longer name (an exact match is no misspelling).
    const std::size_t longer = std::max(known[nearest].name.size(), typed.size());
    const bool close = !typed.empty() && distance[nearest] > 0 && distance[nearest] * 3 <= std::max<std::size_t>(longer, 3);
    std::string text;
    if (close) {
        text = "Did you mean " + known[nearest].name + "?\n";
        std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return distance[a] < distance[b]; });
    }
    text += "Known data sources:";
    for (std::size_t i = 0; i < order.size() && i < kNamesShown; ++i) {
        const DataSourceEntry& entry = known[order[i]];
        text += std::string(i == 0 ? " " : ", ") + entry.name + " (" + (entry.system ? "system" : "user") + ")";
    }
    if (order.size() > kNamesShown) text += " and " + std::to_string(order.size() - kNamesShown) + " more";
    return text + "\n";
}

std::string COdbcDoctor::DriverReport(const std::string& driver, const OdbcFiles& files) {
    const std::optional<std::string> library = COdbcSetup::DriverLibrary(driver);
    if (!library) return "The driver " + driver + " is not in " + files.drivers + ".\n";
    if (library->empty()) return "The driver " + driver + " names no library (Driver=) in " + files.drivers + ".\n";
    std::string text = "Driver " + driver + ": " + *library + "\n";
    const std::string error = COdbcSetup::LoadError(*library);
    return text + (error.empty() ? "  The library loads.\n" : "  The library cannot be loaded: " + error + "\n");
}
