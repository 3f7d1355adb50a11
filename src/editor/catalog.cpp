#include "editor/catalog.h"

#include <algorithm>
#include <cctype>

namespace {

bool SameIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

void CCatalog::SetTables(std::vector<CatalogTable> tables) {
    const std::lock_guard lock(m_mutex);
    m_tables = std::move(tables);
}

void CCatalog::SetColumns(const std::string& schema, const std::string& table, std::vector<std::string> columns) {
    const std::lock_guard lock(m_mutex);
    m_columns[{schema, table}] = std::move(columns);
}

void CCatalog::SetLoaded() {
    const std::lock_guard lock(m_mutex);
    m_bLoaded = true;
}

bool CCatalog::Loaded() const {
    const std::lock_guard lock(m_mutex);
    return m_bLoaded;
}

std::vector<std::string> CCatalog::TableNames(const std::string& schema) const {
    const std::lock_guard lock(m_mutex);
    std::vector<std::string> names;
    names.reserve(m_tables.size());
    for (const CatalogTable& t : m_tables)
        if (schema.empty() || SameIgnoringCase(t.schema, schema)) names.push_back(t.name);
    return names;
}

std::optional<std::vector<std::string>> CCatalog::Columns(const std::string& schema, const std::string& table,
                                                          bool quoted) const {
    const std::lock_guard lock(m_mutex);
    const std::map<Key, std::vector<std::string>>::value_type* found = nullptr;
    for (const auto& entry : m_columns) {
        const auto& [entrySchema, entryTable] = entry.first;
        if (!schema.empty() && !SameIgnoringCase(entrySchema, schema)) continue;
        if (entryTable == table) return entry.second;
        if (!quoted && !found && SameIgnoringCase(entryTable, table)) found = &entry;
    }
    if (found) return found->second;
    return std::nullopt;
}
