#include "db/data_source_list.h"

#include <sql.h>
#include <sqlext.h>

#include <algorithm>
#include <array>

namespace {

// The environment handle, freed on every path.
class Environment {
public:
    Environment() { SQLAllocEnv(&m_henv); }
    ~Environment() {
        if (m_henv != SQL_NULL_HENV) SQLFreeEnv(m_henv);
    }
    Environment(const Environment&) = delete;
    Environment& operator=(const Environment&) = delete;
    SQLHENV Get() const noexcept { return m_henv; }

private:
    SQLHENV m_henv = SQL_NULL_HENV;
};

void ReadKind(SQLHENV henv, bool system, std::vector<DataSourceEntry>& entries) {
    std::array<SQLCHAR, SQL_MAX_DSN_LENGTH * 4 + 1> name{};
    std::array<SQLCHAR, 1024> driver{};
    SQLSMALLINT nameLength = 0, driverLength = 0;
    SQLUSMALLINT direction = system ? SQL_FETCH_FIRST_SYSTEM : SQL_FETCH_FIRST_USER;
    const std::size_t users = entries.size();
    while (SQL_SUCCEEDED(SQLDataSources(henv, direction, name.data(), static_cast<SQLSMALLINT>(name.size()),
                                        &nameLength, driver.data(), static_cast<SQLSMALLINT>(driver.size()),
                                        &driverLength))) {
        direction = SQL_FETCH_NEXT;
        DataSourceEntry entry{reinterpret_cast<const char*>(name.data()), reinterpret_cast<const char*>(driver.data()),
                              system};
        const auto userEnd = entries.begin() + static_cast<std::ptrdiff_t>(users);
        if (system && std::any_of(entries.begin(), userEnd, [&](const DataSourceEntry& e) { return e.name == entry.name; }))
            continue;
        entries.push_back(std::move(entry));
    }
}

}  // namespace

std::vector<DataSourceEntry> CDataSourceList::Read() {
    std::vector<DataSourceEntry> entries;
    const Environment environment;
    if (environment.Get() == SQL_NULL_HENV) return entries;
    ReadKind(environment.Get(), false, entries);
    ReadKind(environment.Get(), true, entries);
    return entries;
}

std::string CDataSourceList::Text(const std::vector<DataSourceEntry>& entries) {
    std::string text;
    for (const DataSourceEntry& entry : entries)
        text += entry.name + '\t' + entry.driver + '\t' + (entry.system ? "system" : "user") + '\n';
    return text;
}
