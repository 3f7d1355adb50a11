#include "editor/catalog_loader.h"

#include "common/exception.h"

CCatalogLoader::CCatalogLoader(std::string dataSource, std::string userName, std::string password)
    : m_thread([this, dataSource = std::move(dataSource), userName = std::move(userName),
                password = std::move(password)] { Load(dataSource, userName, password); }) {}

CCatalogLoader::~CCatalogLoader() {
    m_bStop = true;
    m_canceller.Cancel();
    m_thread.join();
}

void CCatalogLoader::Load(const std::string& dataSource, const std::string& userName, const std::string& password) {
    try {
        CDbConnection connection;
        connection.Connect(dataSource, userName, password);
        CCatalogReader reader(connection, &m_canceller);
        const std::vector<CatalogTable> tables = reader.Tables();
        m_catalog->SetTables(tables);
        if (LoadAllColumns(reader, tables)) return m_catalog->SetLoaded();
        for (const CatalogTable& table : tables) {
            if (m_bStop) break;
            std::vector<std::string> names;
            for (CatalogColumn& column : reader.Columns(table.schema, table.name)) names.push_back(std::move(column.name));
            m_catalog->SetColumns(table.schema, table.name, std::move(names));
        }
    } catch (const CException&) {
        // What was read stays; completion offers that much.
    }
    m_catalog->SetLoaded();
}

// All columns in one catalog call: with thousands of tables far faster than
// a call a table. False when the driver refuses it (then table by table).
bool CCatalogLoader::LoadAllColumns(CCatalogReader& reader, const std::vector<CatalogTable>& tables) {
    std::map<std::pair<std::string, std::string>, std::vector<std::string>> all;
    try {
        all = reader.AllColumnNames();
    } catch (const CException&) {
        if (m_bStop) throw;
        return false;
    }
    for (const CatalogTable& table : tables) {
        const auto columns = all.find({table.schema, table.name});
        m_catalog->SetColumns(table.schema, table.name,
                              columns != all.end() ? std::move(columns->second) : std::vector<std::string>{});
    }
    return true;
}
