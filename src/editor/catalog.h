#pragma once

#include "editor/catalog_reader.h"

#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

// What is known of one connection's catalog: its tables and views, and the
// column names of those read so far. The loader fills it on a worker thread
// while the window thread reads it; every call takes the lock for a moment.
class CCatalog {
public:
    void SetTables(std::vector<CatalogTable> tables);
    void SetColumns(const std::string& schema, const std::string& table, std::vector<std::string> columns);
    // The loader has finished (or given up): no more is coming.
    void SetLoaded();
    bool Loaded() const;

    // The tables' names (of schema only, unless it is ""; case ignored).
    std::vector<std::string> TableNames(const std::string& schema = {}) const;
    // The columns of the table named so (schema "": any), found as written,
    // else ignoring case unless quoted; none while they are not known.
    std::optional<std::vector<std::string>> Columns(const std::string& schema, const std::string& table,
                                                    bool quoted) const;

private:
    using Key = std::pair<std::string, std::string>;   // schema, table

    mutable std::mutex m_mutex;
    std::vector<CatalogTable> m_tables;
    std::map<Key, std::vector<std::string>> m_columns;
    bool m_bLoaded = false;
};
