#include "second_window.h"

#include "app/doc_manager.h"
#include "app/main_frame.h"
#include "app/row_splitter.h"
#include "app_test_env.h"
#include "panes/script_pane.h"
#include "script/script.h"
#include "support/gui_env.h"

#include <wx/docview.h>

using namespace app_test;

int CMemoryProfileStore::GetProfileInt(const std::string& section, const std::string& key, int defaultValue) {
    const auto it = m_values.find(section + "/" + key);
    return it == m_values.end() ? defaultValue : std::stoi(it->second);
}

std::string CMemoryProfileStore::GetProfileString(const std::string& section, const std::string& key,
                                                  const std::string& defaultValue) {
    const auto it = m_values.find(section + "/" + key);
    return it == m_values.end() ? defaultValue : it->second;
}

void CMemoryProfileStore::WriteProfileInt(const std::string& section, const std::string& key, int value) {
    m_values[section + "/" + key] = std::to_string(value);
}

void CMemoryProfileStore::WriteProfileString(const std::string& section, const std::string& key,
                                             const std::string& value) {
    m_values[section + "/" + key] = value;
}

CSecondWindow::CSecondWindow(CProfileStore& store, const wxSize& size, bool attach) {
    m_manager = new CDocManager;
    new wxDocTemplate(m_manager, "Script Files", "*.sql", wxString(), "sql", "Tarnwl", "Tarnwl", wxCLASSINFO(CScript),
                      wxCLASSINFO(CScriptPane));
    m_frame = new CMainFrame(m_manager, store, size);
    if (attach) m_attached = m_frame->AttachDocument(dynamic_cast<CScript*>(m_manager->CreateNewDocument()));
    m_frame->Show();
    gui_env::Settle();
}

bool CSecondWindow::Close() {
    if (m_closed) return true;
    m_closed = m_frame->Close(false);
    return m_closed;
}

CSecondWindow::~CSecondWindow() {
    if (!m_closed) {
        if (CScript* script = m_frame->Script()) script->Modify(false);
        m_frame->Close(true);
    }
    gui_env::Settle();
    delete m_manager;
    // The application's window makes the script pane of its next document.
    CPane::SetTemplateParent(Frame().Splitter());
}
