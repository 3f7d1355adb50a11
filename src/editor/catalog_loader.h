#pragma once

#include "db/statement_canceller.h"
#include "editor/catalog.h"
#include "editor/catalog_reader.h"

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

// Reads a data source's catalog into a CCatalog on a thread of its own,
// over a connection of its own (so it never waits for, or gets in the way
// of, a running script): first the tables and views, then the columns of
// all of them in one call (table by table where the driver does not take
// that). A failure leaves what was read and marks the catalog loaded. The
// destructor cancels the catalog call under way and waits for the thread.
class CCatalogLoader {
public:
    CCatalogLoader(std::string dataSource, std::string userName, std::string password);
    ~CCatalogLoader();
    CCatalogLoader(const CCatalogLoader&) = delete;
    CCatalogLoader& operator=(const CCatalogLoader&) = delete;

    const std::shared_ptr<CCatalog>& Catalog() const noexcept { return m_catalog; }

private:
    void Load(const std::string& dataSource, const std::string& userName, const std::string& password);
    bool LoadAllColumns(CCatalogReader& reader, const std::vector<CatalogTable>& tables);

    std::shared_ptr<CCatalog> m_catalog = std::make_shared<CCatalog>();
    std::atomic<bool> m_bStop{false};
    CStatementCanceller m_canceller;
    std::thread m_thread;
};
