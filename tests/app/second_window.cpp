#include "second_window.h"

#include "app/doc_manager.h"
#include "app/row_splitter.h"
#include "app_test_env.h"

CSecondWindow::CSecondWindow(const wxSize& size, CProfileStore* store, bool attach) {
    static int s_nWindows = 0;
    if (store == nullptr) {
        m_ownStore = std::make_unique<CFileProfileStore>(test_env::TempDir() + "/window" +
                                                         std::to_string(++s_nWindows) + ".conf");
        store = m_ownStore.get();
    }
    m_manager = new CDocManager;
    new wxDocTemplate(m_manager, "Script Files", "*.sql", wxString(), "sql", "Tarnwl", "Tarnwl", wxCLASSINFO(CScript),
                      wxCLASSINFO(CScriptPane));
    m_frame = new CMainFrame(m_manager, *store, size);
    EXPECT_TRUE(!attach || m_frame->AttachDocument(dynamic_cast<CScript*>(m_manager->CreateNewDocument())));
    m_frame->Show();
    gui_env::Settle();
}

bool CSecondWindow::Close() {
    if (!m_closed) m_closed = m_frame->Close(false);
    return m_closed;
}

CSecondWindow::~CSecondWindow() {
    if (!m_closed && m_frame) {
        if (CScript* script = m_frame->Script()) script->Modify(false);
        m_frame->Close(true);
    }
    gui_env::Settle();
    delete m_manager;
    // The application's window makes the script pane of its next document.
    CPane::SetTemplateParent(app_test::Frame().Splitter());
}
