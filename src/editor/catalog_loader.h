#pragma once

#include "editor/catalog.h"

#include <atomic>
#include <memory>
#include <string>
#include <thread>

// Reads a data source's catalog into a CCatalog on a thread of its own,
// over a connection of its own (so it never waits for, or gets in the way
// of, a running script): first the tables and views, then their columns
// table by table. A failure leaves what was read and marks the catalog
// loaded. The destructor stops the reading between two catalog calls and
// waits for the thread.
class CCatalogLoader {
public:
    CCatalogLoader(std::string dataSource, std::string userName, std::string password);
    ~CCatalogLoader();
    CCatalogLoader(const CCatalogLoader&) = delete;
    CCatalogLoader& operator=(const CCatalogLoader&) = delete;

    const std::shared_ptr<CCatalog>& Catalog() const noexcept { return m_catalog; }

private:
    void Load(const std::string& dataSource, const std::string& userName, const std::string& password);

    std::shared_ptr<CCatalog> m_catalog = std::make_shared<CCatalog>();
    std::atomic<bool> m_bStop{false};
    std::thread m_thread;
};
