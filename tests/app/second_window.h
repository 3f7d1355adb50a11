#pragma once

#include "settings/profile_store.h"

#include <map>
#include <string>

class CDocManager;
class CMainFrame;
class wxSize;

// A profile store in memory.
class CMemoryProfileStore : public CProfileStore {
public:
    int GetProfileInt(const std::string& section, const std::string& key, int defaultValue) override;
    std::string GetProfileString(const std::string& section, const std::string& key,
                                 const std::string& defaultValue) override;
    void WriteProfileInt(const std::string& section, const std::string& key, int value) override;
    void WriteProfileString(const std::string& section, const std::string& key, const std::string& value) override;

    std::map<std::string, std::string> m_values;
};

// A further main window with its own document manager, made as start-up
// makes the first one, at a given outer size, and shown (without its script
// document and panes when attach is false). Closed (without asking to save)
// when the object goes unless the test closed it.
class CSecondWindow {
public:
    CSecondWindow(CProfileStore& store, const wxSize& size, bool attach = true);
    ~CSecondWindow();
    CSecondWindow(const CSecondWindow&) = delete;
    CSecondWindow& operator=(const CSecondWindow&) = delete;

    CMainFrame& operator*() const { return *m_frame; }
    CMainFrame* operator->() const { return m_frame; }
    bool Attached() const { return m_attached; }
    // Asks the window to close as the close box does; true when it closed.
    bool Close();

private:
    CDocManager* m_manager;
    CMainFrame* m_frame;
    bool m_attached = false;
    bool m_closed = false;
};
