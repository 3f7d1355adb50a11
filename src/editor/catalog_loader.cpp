#include "editor/catalog_loader.h"

#include "common/exception.h"

CCatalogLoader::CCatalogLoader(std::string dataSource, std::string userName, std::string password)
    : m_thread([this, dataSource = std::move(dataSource), userName = std::move(userName),
                password = std::move(password)] { Load(dataSource, userName, password); }) {}

CCatalogLoader::~CCatalogLoader() {
    m_bStop = true;
    m_thread.join();
}

void CCatalogLoader::Load(const std::string& dataSource, const std::string& userName, const std::string& password) {
    try {
        CDbConnection connection;
        connection.Connect(dataSource, userName, password);
        CCatalogReader reader(connection);
        const std::vector<CatalogTable> tables = reader.Tables();
        m_catalog->SetTables(tables);
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
