#pragma once

#include "settings/file_profile_store.h"

#include <wx/weakref.h>

#include <memory>

class CDocManager;
#include "app/main_frame.h"
class wxSize;

// A further main window with its own document manager, made and shown as
// start-up makes the first one, at a given outer size; its script document
// and panes come with it unless attach is false. Its settings live in store,
// or in a fresh settings file of its own. Closed (without asking to save)
// when the object goes, unless the test closed it.
class CSecondWindow {
public:
    explicit CSecondWindow(const wxSize& size, CProfileStore* store = nullptr, bool attach = true);
    ~CSecondWindow();
    CSecondWindow(const CSecondWindow&) = delete;
    CSecondWindow& operator=(const CSecondWindow&) = delete;

    CMainFrame& operator*() const { return *m_frame; }
    CMainFrame* operator->() const { return m_frame.get(); }
    // The window is still there (it may also close on its own).
    bool Exists() const { return m_frame; }
    // Asks the window to close as the close box does; true when it closed.
    bool Close();

private:
    std::unique_ptr<CFileProfileStore> m_ownStore;
    CDocManager* m_manager;
    wxWeakRef<CMainFrame> m_frame;
    bool m_closed = false;
};
