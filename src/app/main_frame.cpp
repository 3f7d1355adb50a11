#include "app/main_frame.h"

#include "app/background_run.h"
#include "app/command_ids.h"
#include "app/command_table.h"
#include "app/doc_manager.h"
#include "app/file_drop_target.h"
#include "app/frame_run_host.h"
#include "app/lock_key_state.h"
#include "app/menu_shortcut_text.h"
#include "app/pane_font.h"
#include "app/recent_file_list.h"
#include "app/row_splitter.h"
#include "app/scroll_shading.h"
#include "app/tool_bar_images.h"
#include "app/ui_text.h"
#include "app/window_title.h"
#include "common/message_box.h"
#include "db/connect_dlg.h"
#include "db/db_exception.h"
#include "editor/catalog_loader.h"
#include "editor/describe_job.h"
#include "editor/sql_lexer.h"
#include "editor/table_describer.h"
#include "exec/spool_tee.h"
#include "history/history_dlg.h"
#include "exec/result_formatter.h"
#include "exec/script_runner.h"
#include "exec/text_statement_source.h"
#include "exec/worker_script_run.h"
#include "panes/find_controller.h"
#include "panes/output_pane.h"
#include "panes/save_output.h"
#include "panes/script_pane.h"
#include "history/history_file.h"
#include "history/history_store.h"
#include "recovery/recovery_folder.h"
#include "recovery/recovery_offer.h"
#include "recovery/script_recovery.h"
#include "script/script.h"
#include "script/settings_syntax.h"
#include "script/statement_locator.h"
#include "settings/pref_dlg.h"
#include "settings/profile_store.h"

#include <wx/app.h>
#include <wx/dcclient.h>
#include <wx/log.h>
#include <wx/menu.h>
#include <wx/splitter.h>
#include <wx/stc/stc.h>
#include <wx/statusbr.h>
#include <wx/toolbar.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <utility>

namespace {

// The status-bar fields: the message, the three key-state indicators, then
// the open transaction's.
constexpr int kMessageField = 0;
constexpr int kTransactionField = 4;
const char* const kKeyStateTexts[] = {"CAP", "NUM", "SCRL"};
constexpr const char* kTransactionText = "TXN";
const wxKeyCode kKeyStateKeys[] = {WXK_CAPITAL, WXK_NUMLOCK, WXK_SCROLL};

constexpr const char* kReady = "Ready";

// A menu entry as stored: the label, then "\t" and the shortcut text shown.
wxString MenuLabel(const CommandInfo& command) { return wxString::FromUTF8(command.text).BeforeFirst('\t'); }
wxString MenuShortcut(const CommandInfo& command) { return wxString::FromUTF8(command.text).AfterFirst('\t'); }

wxString PromptOf(const CommandInfo& command) {
    const PromptParts parts = SplitPrompt(command.prompt);
    return wxString::FromUTF8(parts.prompt, parts.promptLength);
}

wxString ToolTipOf(const CommandInfo& command) { return wxString::FromUTF8(SplitPrompt(command.prompt).toolTip); }

bool IsRecentFileId(int id) { return id >= wxID_FILE1 && id < wxID_FILE1 + CRecentFileList::kMaxFiles; }

// The key as the command table writes it: the numeric keypad's Enter counts
// as Enter.
int NormalisedKey(int keyCode) { return keyCode == WXK_NUMPAD_ENTER ? WXK_RETURN : keyCode; }

// A drop target for a part of frame that opens a dropped file as the script
// once the drop has finished (opening may ask to save first), unless a run
// is going on.
CFileDropTarget* NewDropTarget(CMainFrame& frame, CDocManager& manager, wxStyledTextCtrl* textControl = nullptr) {
    return new CFileDropTarget(
        [&frame, &manager](const wxString& path) {
            // Like File > Open, a drop waits for no run: it is refused during one.
            frame.CallAfter([&frame, &manager, path] {
                if (!frame.IsRunning()) manager.OpenScript(path);
            });
        },
        textControl);
}

}  // namespace

wxBEGIN_EVENT_TABLE(CMainFrame, wxDocParentFrame)
    EVT_CHAR_HOOK(CMainFrame::OnCharHook)
    EVT_IDLE(CMainFrame::OnIdle)
wxEND_EVENT_TABLE()

CMainFrame::CMainFrame(CDocManager* manager, CProfileStore& store, const wxSize& size)
    : wxDocParentFrame(manager, nullptr, wxID_ANY, wxString::FromUTF8(kAppName.data(), kAppName.size()),
                       wxDefaultPosition, size),
      m_pDocManager(manager),
      m_store(store) {
    SetIcons(AppIcons());
    CreateMenus();
    CreateToolBarButtons();
    CreateStatusBarFields();

    // The upper row's height comes from the window's outer height as created.
    m_nInitialOutputHeight = InitialOutputHeight(GetSize().y);
    m_pSplitter = new CRowSplitter(this);
    // The document template makes the script pane under the splitter.
    CPane::SetTemplateParent(m_pSplitter);

    for (const CommandInfo& command : CommandTable()) {
        Bind(wxEVT_UPDATE_UI, &CMainFrame::OnUpdateCommand, this, command.id);
        // Exit is the framework frame's own.
        if (HasHandler(command.id) && command.id != wxID_EXIT)
            Bind(wxEVT_MENU, &CMainFrame::OnCommand, this, command.id);
    }
    Bind(wxEVT_UPDATE_UI, &CMainFrame::OnUpdateCommand, this, wxID_FILE1, wxID_FILE1 + CRecentFileList::kMaxFiles - 1);
    Bind(wxEVT_CLOSE_WINDOW, &CMainFrame::OnClose, this);
    Bind(wxEVT_ACTIVATE, &CMainFrame::OnActivate, this);
    Bind(EVT_PANE_DOCUMENT_TITLE, &CMainFrame::OnDocumentTitle, this);

    m_pFind = std::make_unique<CFindController>(this, [this]() -> wxStyledTextCtrl* {
        auto* pane = dynamic_cast<CPane*>(m_pDocManager->GetCurrentView());
        if (pane == nullptr) pane = m_pScriptPane;
        return pane != nullptr ? pane->GetControl() : nullptr;
    });

    m_pDocManager->m_onDocumentChanged = [this] { UpdateTitle(); };
    // Under GTK a drop goes to the part of the window under the pointer.
    for (wxWindow* part : std::initializer_list<wxWindow*>{this, GetToolBar(), GetStatusBar(), GetMenuBar()})
        part->SetDropTarget(NewDropTarget(*this, *m_pDocManager));
    UpdateTitle();
}

CMainFrame::~CMainFrame() {
    if (CScript* script = Script()) script->SetModifiedListener({});
    SaveSettings();
    CPane::SetTemplateParent(nullptr);
    m_pDocManager->m_onDocumentChanged = nullptr;
    if (CRecentFileList* recent = m_pDocManager->GetRecentFiles()) recent->UseMenuBefore(nullptr, nullptr);
}

int CMainFrame::InitialOutputHeight(int outerHeight) { return std::max(outerHeight - 100, 0) / 2; }

void CMainFrame::CreateMenus() {
    auto* menuBar = new wxMenuBar;
    wxMenu* fileMenu = nullptr;
    wxMenuItem* afterRecentFiles = nullptr;
    for (const CommandMenu which : {CommandMenu::File, CommandMenu::Edit, CommandMenu::Commands, CommandMenu::Help}) {
        auto* menu = new wxMenu;
        for (const CommandInfo& command : CommandTable()) {
            if (command.menu != which) continue;
            if (command.id == wxID_FILE1) {
                // The recent-file list manages its own entries before the
                // separator that follows them.
                fileMenu = menu;
                afterRecentFiles = menu->AppendSeparator();
                continue;
            }
            // The entry shows its shortcut text as stored; the keys are the
            // key hook's (OnCharHook), never the menu's own.
            wxMenuItem* item = menu->Append(command.id, MenuLabel(command), PromptOf(command),
                                            command.check ? wxITEM_CHECK : wxITEM_NORMAL);
            if (!SetMenuShortcutText(*item, MenuShortcut(command)) && !MenuShortcut(command).empty()) {
                // Where the toolkit cannot show it so, it shows what it can
                // (it may not know every key name, such as "LeftArrow").
                wxLogNull quiet;
                item->SetItemLabel(wxString::FromUTF8(command.text));
            }
            if (command.separatorAfter) menu->AppendSeparator();
        }
        menuBar->Append(menu, wxString::FromUTF8(MenuTitle(which)));
    }
    SetMenuBar(menuBar);
    if (CRecentFileList* recent = m_pDocManager->GetRecentFiles()) recent->UseMenuBefore(fileMenu, afterRecentFiles);
}

void CMainFrame::CreateToolBarButtons() {
    wxToolBar* toolBar = CreateToolBar(wxTB_FLAT | wxTB_HORIZONTAL | wxTB_TOP);
    toolBar->SetToolBitmapSize(wxSize(16, 16));
    for (const int id : ToolBarLayout()) {
        if (id == 0) {
            toolBar->AddSeparator();
            continue;
        }
        const CommandInfo* command = FindCommand(id);
        toolBar->AddTool(id, ToolTipOf(*command), ToolBarImage(id), ToolTipOf(*command));
        toolBar->SetToolLongHelp(id, PromptOf(*command));
    }
    toolBar->Realize();
}

void CMainFrame::CreateStatusBarFields() {
    wxStatusBar* bar = CreateStatusBar(5);
    int widths[5] = {-1, 0, 0, 0, 0};
    for (int i = 0; i < 3; ++i) widths[i + 1] = bar->GetTextExtent(kKeyStateTexts[i]).x + FromDIP(16);
    widths[kTransactionField] = bar->GetTextExtent(kTransactionText).x + FromDIP(16);
    SetStatusWidths(5, widths);
    SetStatusText(kReady, kMessageField);
}

bool CMainFrame::AttachDocument(CScript* script) {
    m_pScriptPane = script ? dynamic_cast<CScriptPane*>(script->GetFirstView()) : nullptr;
    if (m_pScriptPane == nullptr || m_pScriptPane->GetControl() == nullptr) return false;
    script->SetSettings(&m_settings);

    auto* output = new COutputPane;
    output->SetDocument(script);
    if (!output->Create(m_pSplitter)) {
        delete output;
        m_pScriptPane = nullptr;
        return false;
    }
    m_pOutputPane = output;

    m_pSplitter->SplitRows(m_pOutputPane->GetControl(), m_pScriptPane->GetControl(), m_nInitialOutputHeight);
    m_pOutputPane->GetControl()->Bind(wxEVT_STC_DOUBLECLICK, &CMainFrame::OnOutputDoubleClick, this);
    // The panes take dropped files too, and dropped text as before.
    for (CPane* pane : std::initializer_list<CPane*>{m_pOutputPane, m_pScriptPane}) {
        pane->GetControl()->SetDropTarget(NewDropTarget(*this, *m_pDocManager, pane->GetControl()));
        RemoveScrollShading(*pane->GetControl());
    }

    m_pScriptPane->Activate(true);
    m_pScriptPane->GetControl()->SetFocus();
    LoadSettings();
    ApplyCommentSyntax();
    m_pScriptPane->SetCompletionList(&m_completion);
    UpdateTitle();
    OpenHistoryStore();
    if (const std::string folder = CRecoveryFolder::DefaultPath(); !folder.empty()) {
        m_pRecovery = std::make_unique<CScriptRecovery>(
            folder, [this] { return Script(); }, [this](const wxString& text) { SetStatusText(text); }, *this);
        script->SetModifiedListener([this](bool modified) { m_pRecovery->ScriptModified(modified); });
    }
    return true;
}

// The durable history behind the session's list: its newest scripts come
// back at start, every run is recorded (on the run's worker thread), and
// what went wrong with the file is said once in the status bar.
void CMainFrame::OpenHistoryStore() {
    m_pHistoryStore = std::make_unique<CHistoryStore>(history_file::DefaultPath(), m_settings.HistoryLimit);
    if (!m_pHistoryStore->Message().empty()) SetStatusText(ToUiString(m_pHistoryStore->Message()));
    m_pHistoryStore->SetFailureHandler([this](const std::string& message) {
        CallAfter([this, message] { SetStatusText(ToUiString(message)); });
    });
    m_pHistoryStore->Fill(m_history);
}

void CMainFrame::OfferRecovery() {
    if (CScript* script = Script(); script != nullptr && m_pRecovery) {
        CRecoveryOffer::Run(CRecoveryFolder::DefaultPath(), *script, this);
        UpdateTitle();
    }
}

// Back in the window: a script whose file another program changed is
// offered for reloading (after the activation, and never during a run).
void CMainFrame::OnActivate(wxActivateEvent& event) {
    event.Skip();
    if (event.GetActive())
        CallAfter([this] {
            if (CScript* script = Script(); script != nullptr && !IsRunning()) script->OfferReload();
        });
}

CScript* CMainFrame::Script() const {
    return m_pScriptPane ? dynamic_cast<CScript*>(m_pScriptPane->GetDocument()) : nullptr;
}

void CMainFrame::LoadSettings() {
    m_settings.Load(m_store, [this](const LOGFONT&) { ApplyPaneFont(); });
    m_bSettingsLoaded = true;
}

void CMainFrame::SaveSettings() {
    // Settings never loaded hold no values of the user's: keep the stored ones.
    if (m_bSettingsLoaded) m_settings.Save(m_store);
}

void CMainFrame::ApplyPaneFont() {
    if (m_pScriptPane == nullptr || m_pOutputPane == nullptr) return;
    wxDocument* doc = m_pScriptPane->GetDocument();
    const bool modified = doc != nullptr && doc->IsModified();
    wxClientDC dc(this);
    const wxFont font = MakePaneFont(m_settings.m_logFont, dc);
    dc.SetFont(font);
    const int charWidth = dc.GetCharWidth();
    m_pScriptPane->SetPaneFont(font, 0);
    m_pOutputPane->SetPaneFont(font, charWidth);
    if (doc != nullptr) doc->Modify(modified);
}

void CMainFrame::SetConnectValues(const std::string& dataSource, const std::string& userName) {
    m_strDataSource = dataSource;
    m_strUserName = userName;
}

void CMainFrame::OnChangeConnection() {
    if (!SettleTransaction([this] { OnChangeConnection(); })) return;
    CConnectDlg dlg(this);
    dlg.m_strDataSource = m_strDataSource;
    dlg.m_strUserName = m_strUserName;
    dlg.m_strPassword = m_strPassword;
    dlg.m_pConnection = &m_connection;
    if (dlg.ShowModal() == wxID_OK) {
        m_strDataSource = dlg.m_strDataSource;
        m_strUserName = dlg.m_strUserName;
        m_strPassword = dlg.m_strPassword;
        m_strConnection = m_connection.IsConnected() ? m_connection.ConnectionText() : "not connected";
    }
    // A connect attempt ends the lost connection (the dialog connects anew).
    if (!m_connection.IsLost() && GetStatusBar() && FromUiString(GetStatusBar()->GetStatusText()) == kConnectionLostText)
        SetStatusText("");
    ConnectionChanged();
    UpdateTitle();
}

// The connection is new, or gone. Both calls are quick enough for this
// thread: the driver answers SQL_TXN_CAPABLE from what it knows, and turning
// autocommit off sends nothing to the server (the driver begins the
// transaction with the next statement); a new connection has none open.
void CMainFrame::ConnectionChanged() {
    const bool connected = m_connection.IsConnected();
    m_txn.Connected(connected, connected && m_connection.SupportsTransactions());
    ApplyAutoCommit();
    RestartCatalog();
}

// Reads the connection's catalog anew for completion (none without a connection).
void CMainFrame::RestartCatalog() {
    m_completion.SetCatalog({});
    m_pCatalogLoader.reset();
    if (!m_connection.IsConnected()) return;
    m_pCatalogLoader = std::make_unique<CCatalogLoader>(m_strDataSource, m_strUserName, m_strPassword);
    m_completion.SetCatalog(m_pCatalogLoader->Catalog());
}

// Describe: the selected name, else the one under the caret, described on a
// worker; its text reaches the output pane (and the spool file) here.
void CMainFrame::OnDescribe() {
    if (m_pScriptPane == nullptr || m_pOutputPane == nullptr || m_pRun || m_pDescribe) return;
    wxStyledTextCtrl& control = *m_pScriptPane->GetControl();
    std::string name = FromUiString(control.GetSelectedText());
    if (name.empty()) name = NameAt(m_pScriptPane->GetText(), static_cast<std::size_t>(control.GetCurrentPos()));
    if (name.empty()) return;
    m_pDescribe = std::make_unique<CDescribeJob>(
        m_connection, m_settings.DefColLen, m_settings.MaxColLen, m_pOutputPane->WrapWidth(), name,
        [this](std::string text) { CallAfter([this, text = std::move(text)] { FinishDescribe(text); }); });
}

void CMainFrame::FinishDescribe(const std::string& text) {
    m_pDescribe.reset();
    if (m_pOutputPane == nullptr) return;
    if (!m_settings.EnableSpool) return m_pOutputPane->AppendText(text);
    CSpoolTee spool(*m_pOutputPane, m_settings.SpoolFile);
    spool.AppendText(text);
    spool.Close();
}

// Puts the connection in the mode the setting asks for, as far as it has
// transactions; a connection without them is said so once. Turning
// autocommit on happens only with no transaction open (OnAutoCommit asks
// first), so it commits nothing and is as quick as turning it off.
void CMainFrame::ApplyAutoCommit() {
    m_txn.SetAutoCommitWanted(m_settings.AutoCommit != 0);
    if (m_connection.IsConnected() && m_connection.AutoCommit() != m_txn.AutoCommit()) {
        try {
            m_connection.SetAutoCommit(m_txn.AutoCommit());
        } catch (const CDBException&) {
            m_txn.Connected(true, false);   // refused: as without transactions
        }
    }
    if (m_txn.TakeNoTransactionsNotice())
        ShowMessageBox("The data source does not support transactions; Auto Commit stays on.",
                       wxOK | wxICON_INFORMATION, this);
    ShowTransactionField();
}

void CMainFrame::ShowTransactionField() {
    if (GetStatusBar() != nullptr) SetStatusText(m_txn.IsOpen() ? kTransactionText : "", kTransactionField);
}

void CMainFrame::OnAutoCommit() {
    const bool on = m_settings.AutoCommit == 0;
    // Turning autocommit on would commit the open transaction unasked.
    if (on && !SettleTransaction([this] { OnAutoCommit(); })) return;
    m_settings.AutoCommit = on ? 1 : 0;
    ApplyAutoCommit();
}

// Asks "Commit the open transaction?" when statements ran since the last
// commit or rollback: Yes commits, No rolls back (on the worker), and once
// that has succeeded then is called; Cancel stays. True when no transaction
// is open: the caller goes on at once.
bool CMainFrame::SettleTransaction(const std::function<void()>& then) {
    if (!m_txn.IsOpen()) return true;
    const int answer = ShowQuestionBox("Commit the open transaction?", {"Yes", "No", "Cancel"},
                                       wxICON_QUESTION, this);
    if (answer == wxCANCEL) return false;
    OnEndTransaction(answer == wxYES ? TransactionEnd::Commit : TransactionEnd::Rollback);
    if (m_pRun)
        m_afterRun = [this, then] {
            if (!m_txn.IsOpen()) then();
        };
    return false;
}

void CMainFrame::OnEndTransaction(TransactionEnd end) {
    CScript* script = Script();
    if (script == nullptr || m_pOutputPane == nullptr || m_pScriptPane == nullptr || m_pRun) return;
    m_pRun = std::make_unique<CBackgroundRun>(*this, *m_pOutputPane, *m_pScriptPane, m_connection, m_history,
                                              *script, m_settings,
                                              [this](std::exception_ptr failure) { OnRunFinished(failure); });
    m_pRun->SetTransactionEnd(end);
    m_bEndingTransaction = true;
    m_pRun->Start();
}

void CMainFrame::UpdateTitle() {
    const wxDocument* doc = Script();
    const std::string documentTitle = doc ? FromUiString(doc->GetUserReadableName()) : std::string("untitled");
    const wxString title = ToUiString(WindowTitle(documentTitle, m_strConnection));
    if (GetTitle() != title) SetTitle(title);
}

void CMainFrame::OnDocumentTitle(wxCommandEvent&) { UpdateTitle(); }

void CMainFrame::OnExecute() {
    if (CScript* script = Script()) StartRun(*script, 0, -1);
}

void CMainFrame::OnExecuteStatement() {
    if (m_pScriptPane == nullptr || m_pScriptPane->GetControl() == nullptr || m_pRun) return;
    wxStyledTextCtrl& control = *m_pScriptPane->GetControl();
    const std::string script = m_pScriptPane->GetText();
    const auto from = static_cast<std::size_t>(control.GetSelectionStart());
    const auto to = static_cast<std::size_t>(control.GetSelectionEnd());
    std::size_t begin = from, end = to;
    // A selection of the whole script runs as Execute would: the statement
    // under the caret is what the command is for.
    if (from == to || (from == 0 && to == script.size())) {
        const auto span = LocateStatement(script, CommentSyntaxOf(m_settings), static_cast<std::size_t>(control.GetCurrentPos()));
        begin = span ? span->content : 0;
        end = span ? span->end : 0;
    }
    m_pRunText = std::make_unique<CTextStatementSource>(script.substr(begin, end - begin), CommentSyntaxOf(m_settings));
    StartRun(*m_pRunText, static_cast<long>(begin), static_cast<long>(end));
}

void CMainFrame::StartRun(CStatementSource& source, long ranFrom, long ranTo) {
    if (m_pOutputPane == nullptr || m_pScriptPane == nullptr || m_pRun) return;
    const bool reconnect =
        m_connection.IsLost() &&
        ShowMessageBox(ToUiString("The connection to " + m_strConnection + " was lost. Connect again and run?"),
                       wxYES_NO | wxICON_QUESTION, this) == wxYES;
    m_pRun = std::make_unique<CBackgroundRun>(
        *this, *m_pOutputPane, *m_pScriptPane, m_connection, m_history, source, m_settings,
        [this](std::exception_ptr failure) { OnRunFinished(failure); }, ranFrom, ranTo);
    const std::string script = m_pScriptPane->GetText();
    const auto from = std::min(static_cast<std::size_t>(std::max(ranFrom, 0L)), script.size());
    m_bRunChangesSchema = ChangesSchema(
        std::string_view(script).substr(from, ranTo < 0 ? std::string::npos : static_cast<std::size_t>(ranTo) - from),
        CommentSyntaxOf(m_settings));
    m_pRun->SetRecorder(m_pHistoryStore.get());
    // On the worker, before the first statement; the password stays in memory.
    if (reconnect) m_pRun->SetReconnect([this, password = m_strPassword] { m_connection.Reconnect(password); });
    m_pRun->Start(&m_runMap, [this] { OnStatementRan(); });
    ShowRunMarks();
}

// One more statement ran: its mark joins the others.
void CMainFrame::OnStatementRan() {
    m_txn.StatementRan();
    ShowTransactionField();
    if (m_pScriptPane == nullptr || m_runMap.Statements().empty()) return;
    if (m_runMap.Statements().size() == 1) ShowRunMarks();   // follows the edits from now on
    else m_pScriptPane->AddRunMark(m_runMap.Statements().back());
}

void CMainFrame::ShowRunMarks() {
    if (m_pScriptPane == nullptr) return;
    m_pScriptPane->ShowRunMarks(m_runMap);
    // Edits are followed only while a mark stands.
    if (m_runMap.LiveCount() > 0)
        m_pScriptPane->SetEditListener(
            [this](bool inserted, std::size_t position, std::size_t length) { OnScriptEdited(inserted, position, length); });
    else
        m_pScriptPane->SetEditListener({});
}

void CMainFrame::OnScriptEdited(bool inserted, std::size_t position, std::size_t length) {
    const std::size_t live = m_runMap.LiveCount();
    if (inserted)
        m_runMap.TextInserted(position, length);
    else
        m_runMap.TextDeleted(position, length);
    if (m_runMap.LiveCount() != live) CallAfter([this] { ShowRunMarks(); });
}

void CMainFrame::SelectRunStatement(const CRunMap::Statement& statement) {
    m_pScriptPane->SetSelection(static_cast<long>(statement.scriptBegin), static_cast<long>(statement.scriptEnd));
}

// A double click on a statement's output selects the statement in the script.
void CMainFrame::OnOutputDoubleClick(wxStyledTextEvent& event) {
    event.Skip();
    if (m_pScriptPane == nullptr || m_pOutputPane == nullptr) return;
    const auto found = m_runMap.AtOutput(static_cast<std::size_t>(event.GetPosition()));
    if (!found) return;
    const CRunMap::Statement& statement = m_runMap.Statements()[*found];
    if (statement.edited) {
        SetStatusText("The statement is no longer in the script");
        return;
    }
    SelectRunStatement(statement);
}

void CMainFrame::GoToFailure(bool forward) {
    if (m_pScriptPane == nullptr || m_pScriptPane->GetControl() == nullptr) return;
    const auto found =
        m_runMap.NextFailure(static_cast<std::size_t>(m_pScriptPane->GetControl()->GetCurrentPos()), forward);
    if (!found) return;
    const CRunMap::Statement& statement = m_runMap.Statements()[*found];
    m_pScriptPane->SetSelection(static_cast<long>(statement.scriptBegin), static_cast<long>(statement.scriptBegin));
    SetStatusText(ToUiString(statement.message));
}

void CMainFrame::OnCancelExecution() {
    if (m_pRun) m_pRun->Cancel();
}

void CMainFrame::OnRunFinished(std::exception_ptr failure) {
    const RunSummary& summary = m_pRun->Summary();
    if (std::exchange(m_bEndingTransaction, false) && summary.connected && summary.failures == 0) m_txn.Ended();
    // A lost connection took its transaction along; a failed reconnect left none.
    if (m_connection.IsLost()) m_txn.Ended();
    if (!m_connection.IsConnected() && m_strConnection != "not connected") {
        m_strConnection = "not connected";
        ConnectionChanged();
        UpdateTitle();
    }
    ShowTransactionField();
    if (std::exchange(m_bRunChangesSchema, false)) RestartCatalog();
    // The run object is still on the stack: it goes once this event is over.
    CallAfter([this] {
        m_pRun.reset();
        m_pRunText.reset();
        if (const std::function<void()> then = std::exchange(m_afterRun, {})) then();
    });
    if (failure) std::rethrow_exception(failure);
}

bool CMainFrame::DisabledDuringRun(int id) const {
    switch (id) {
        case ID_EXECUTE:
        case ID_EXECUTE_STATEMENT:
        case wxID_NEW:
        case wxID_OPEN:
        case wxID_SAVE:
        case wxID_SAVEAS:
        case wxID_REVERT:
        case wxID_CLOSE:
        case ID_CHANGE_CONNECTION:
        case ID_OPTIONS:
        case ID_CLEAR_OUTPUT:
        case ID_SAVE_OUTPUT:
        case ID_PREVIOUS_SCRIPT:
        case ID_NEXT_SCRIPT:
        case ID_HISTORY:
        case ID_AUTO_COMMIT:
        case ID_COMMIT:
        case ID_ROLLBACK:
        case ID_DESCRIBE:
        case wxID_REPLACE:
        case wxID_UNDO:
        case wxID_REDO:
        case wxID_CUT:
        case wxID_PASTE:
            return true;
        default:
            return IsRecentFileId(id);
    }
}

// During a run the commands that would change the script, the connection,
// the settings, the history or the output are disabled here, before the
// panes, the document manager or the frame's own handlers see them.
bool CMainFrame::TryBefore(wxEvent& event) {
    if ((m_pRun || m_pDescribe) && DisabledDuringRun(event.GetId())) {
        if (event.GetEventType() == wxEVT_UPDATE_UI) {
            static_cast<wxUpdateUIEvent&>(event).Enable(false);
            return true;
        }
        if (event.GetEventType() == wxEVT_MENU) return true;
    }
    if (event.GetEventType() == wxEVT_UPDATE_UI && event.GetId() == ID_CANCEL_EXECUTION) {
        static_cast<wxUpdateUIEvent&>(event).Enable(m_pRun != nullptr);
        return true;
    }
    return wxDocParentFrame::TryBefore(event);
}

void CMainFrame::ExecuteStatement(const std::string& statement) {
    if (m_pOutputPane == nullptr || m_pScriptPane == nullptr) return;
    CFrameRunHost host(*this, *m_pOutputPane, *m_pScriptPane);
    CScriptRunner(m_connection, m_history, *m_pOutputPane, host).ExecuteStatement(statement, m_settings);
}

void CMainFrame::PrintResultSet(CDbStatement& statement) {
    if (m_pOutputPane == nullptr) return;
    CResultFormatter(m_settings.DefColLen, m_settings.MaxColLen).Print(statement, *m_pOutputPane);
}

void CMainFrame::OnPrevScript() {
    if (m_history.CanGoPrevious()) LoadHistoryEntry(m_history.GoPrevious());
}

void CMainFrame::OnNextScript() {
    if (m_history.CanGoNext()) LoadHistoryEntry(m_history.GoNext());
}

void CMainFrame::OnHistory() {
    CHistoryDlg dlg(this, m_history, m_history.CurrentIndex(), m_pHistoryStore.get());
    if (dlg.ShowModal() != wxID_OK) return;
    if (const auto& found = dlg.GetFoundText()) {
        LoadHistoryEntry(*found);
    } else if (!m_history.IsEmpty()) {
        m_history.SetCurrent(dlg.GetPosSelected());
        LoadHistoryEntry(m_history.Current());
    }
}

void CMainFrame::LoadHistoryEntry(const std::string& text) {
    if (m_pScriptPane == nullptr) return;
    m_pScriptPane->SetText(std::string_view(text), false);
    m_pScriptPane->SetSelection(0, -1);
}

void CMainFrame::OnClearOutput() {
    m_runMap.OutputCleared();
    if (m_pOutputPane != nullptr) m_pOutputPane->SetText(std::string_view(), false);
}

void CMainFrame::OnSaveOutput() {
    if (m_pOutputPane == nullptr) return;
    CSaveOutput::Run(this, [this] { return m_pOutputPane->GetText(); });
}

void CMainFrame::OnOptions() {
    CPrefDlg::Run(this, m_settings, [this] { ApplyPaneFont(); });
    ApplyCommentSyntax();
}

void CMainFrame::ApplyCommentSyntax() {
    const CommentSyntax syntax = CommentSyntaxOf(m_settings);
    m_completion.SetSyntax(syntax);
    if (m_pScriptPane != nullptr) m_pScriptPane->SetCommentSyntax(syntax);
}

void CMainFrame::OnNextPane() {
    if (m_pScriptPane == nullptr || m_pOutputPane == nullptr) return;
    CPane* next = m_pDocManager->GetCurrentView() == m_pOutputPane ? static_cast<CPane*>(m_pScriptPane)
                                                                     : static_cast<CPane*>(m_pOutputPane);
    next->Activate(true);
    if (wxStyledTextCtrl* control = next->GetControl()) control->SetFocus();
}

bool CMainFrame::HasHandler(int id) const {
    switch (id) {
        case ID_CHANGE_CONNECTION:
        case ID_SAVE_OUTPUT:
        case wxID_EXIT:
        case wxID_FIND:
        case ID_FIND_NEXT:
        case wxID_REPLACE:
        case ID_CLEAR_OUTPUT:
        case ID_EXECUTE:
        case ID_NEXT_ERROR:
        case ID_PREVIOUS_ERROR:
        case ID_EXECUTE_STATEMENT:
        case ID_CANCEL_EXECUTION:
        case ID_PREVIOUS_SCRIPT:
        case ID_NEXT_SCRIPT:
        case ID_HISTORY:
        case wxID_ABOUT:  // the application's
        case ID_OPTIONS:
        case ID_NEXT_PANE:
        case ID_AUTO_COMMIT:
        case ID_COMMIT:
        case ID_ROLLBACK:
        case ID_DESCRIBE:
            return true;
        default:
            return false;
    }
}

void CMainFrame::OnCommand(wxCommandEvent& event) {
    switch (event.GetId()) {
        case ID_CHANGE_CONNECTION: OnChangeConnection(); break;
        case ID_SAVE_OUTPUT: OnSaveOutput(); break;
        case wxID_FIND: m_pFind->OnEditFind(); break;
        case ID_FIND_NEXT: m_pFind->OnFindNext(); break;
        case wxID_REPLACE: m_pFind->OnEditReplace(); break;
        case ID_CLEAR_OUTPUT: OnClearOutput(); break;
        case ID_OPTIONS: OnOptions(); break;
        case ID_EXECUTE: OnExecute(); break;
        case ID_EXECUTE_STATEMENT: OnExecuteStatement(); break;
        case ID_NEXT_ERROR: GoToFailure(true); break;
        case ID_PREVIOUS_ERROR: GoToFailure(false); break;
        case ID_CANCEL_EXECUTION: OnCancelExecution(); break;
        case ID_PREVIOUS_SCRIPT: OnPrevScript(); break;
        case ID_NEXT_SCRIPT: OnNextScript(); break;
        case ID_HISTORY: OnHistory(); break;
        case ID_NEXT_PANE: OnNextPane(); break;
        case ID_AUTO_COMMIT: OnAutoCommit(); break;
        case ID_COMMIT: OnEndTransaction(TransactionEnd::Commit); break;
        case ID_ROLLBACK: OnEndTransaction(TransactionEnd::Rollback); break;
        case ID_DESCRIBE: OnDescribe(); break;
        default: event.Skip(); break;  // the application's (About)
    }
}

void CMainFrame::OnUpdateCommand(wxUpdateUIEvent& event) {
    const int id = event.GetId();
    if (id == ID_PREVIOUS_SCRIPT)
        event.Enable(m_history.CanGoPrevious());
    else if (id == ID_NEXT_SCRIPT)
        event.Enable(m_history.CanGoNext());
    else if (id == ID_NEXT_ERROR || id == ID_PREVIOUS_ERROR)
        event.Enable(m_runMap.NextFailure(0, true).has_value());
    else if (id == ID_AUTO_COMMIT) {
        event.Enable(true);
        event.Check(m_settings.AutoCommit != 0);
    } else if (id == ID_COMMIT || id == ID_ROLLBACK)
        event.Enable(m_txn.ManualCommit());
    else if (IsRecentFileId(id)) {
        const CRecentFileList* recent = m_pDocManager->GetRecentFiles();
        event.Enable(recent != nullptr && static_cast<size_t>(id - wxID_FILE1) < recent->GetCount());
    } else
        // Whatever reaches the frame unhandled by the pane and the document
        // is enabled exactly when the frame or the application handles it.
        event.Enable(HasHandler(id));
}

bool CMainFrame::IsCommandEnabled(int id) {
    wxUpdateUIEvent update(id);
    update.SetEventObject(this);
    ProcessWindowEvent(update);
    return !update.GetSetEnabled() || update.GetEnabled();
}

bool CMainFrame::RunCommand(int id) {
    if (!IsCommandEnabled(id)) return false;
    wxCommandEvent command(wxEVT_MENU, id);
    command.SetEventObject(this);
    ProcessWindowEvent(command);
    return true;
}

void CMainFrame::OnCharHook(wxKeyEvent& event) {
    // The window's accelerators come before the keys the text panes would
    // take for themselves; a disabled command's keys do nothing.
    const int modifiers = event.GetModifiers() & (wxMOD_ALT | wxMOD_CONTROL | wxMOD_SHIFT);
    const int key = NormalisedKey(event.GetKeyCode());
    for (const CommandInfo& command : CommandTable()) {
        for (const AccelKey& accel : command.keys) {
            if (accel.keyCode == 0 || accel.keyCode != key || accel.flags != modifiers) continue;
            // Esc stops a run; otherwise it belongs to the pane or dialog.
            if (!RunCommand(command.id) && command.id == ID_CANCEL_EXECUTION) event.Skip();
            return;
        }
    }
    event.Skip();
}

void CMainFrame::OnIdle(wxIdleEvent& event) {
    UpdateKeyIndicators();
    event.Skip();
}

void CMainFrame::UpdateKeyIndicators() {
    if (GetStatusBar() == nullptr) return;
    for (int i = 0; i < 3; ++i) {
        const wxString text = IsLockKeyOn(kKeyStateKeys[i]) ? kKeyStateTexts[i] : "";
        if (text == m_strKeyStates[i]) continue;
        m_strKeyStates[i] = text;
        SetStatusText(text, i + 1);
    }
}

void CMainFrame::DoGiveHelp(const wxString& text, bool show) {
    wxDocParentFrame::DoGiveHelp(text, show);
    // When a menu closes or the pointer leaves a button, the idle text returns.
    if (!show) SetStatusText(kReady, kMessageField);
}

// Asks whether to stop the running script to close the window: Yes cancels
// it and the window closes once it has ended. When the driver has not
// stopped a cancelled statement, asks whether to exit anyway.
void CMainFrame::ConfirmCloseDuringRun() {
    if (m_pRun->DriverStuck()) {
        if (ShowMessageBox("The database driver has not stopped the statement. Exit anyway?",
                           wxYES_NO | wxICON_QUESTION, this) == wxYES)
            ExitLeavingTheRun(false);
        return;
    }
    if (ShowMessageBox("A script is running. Cancel it and close?", wxYES_NO | wxICON_QUESTION, this) == wxYES) {
        m_afterRun = [this] { Close(); };
        m_pRun->Cancel();
    }
}

// The worker stays in the driver: the program ends without it, after the
// save prompt (none when forced) and with the settings. Nothing runs after
// _Exit, so the application writes now what it writes as it exits (the
// settings file and the recent-file list). Returns when the user cancelled
// the save prompt.
void CMainFrame::ExitLeavingTheRun(bool force) {
    if (m_pDocManager != nullptr && !m_pDocManager->Clear(force)) return;
    m_pRecovery.reset();
    SaveSettings();
    m_pRun->Abandon();
    if (wxTheApp != nullptr) wxTheApp->OnExit();
    std::fflush(nullptr);
    std::_Exit(0);
}

void CMainFrame::OnClose(wxCloseEvent& event) {
    if (m_pRun) {
        if (event.CanVeto()) {
            ConfirmCloseDuringRun();
            event.Veto();
            return;
        }
        // Forced (the session ends): the program ends without the run.
        m_pRun->Cancel();
        ExitLeavingTheRun(true);
    }
    // The open transaction is settled first; it ends on the worker, and the
    // window closes after that. A forced close rolls it back as it
    // disconnects.
    if (event.CanVeto() && !SettleTransaction([this] { Close(); })) {
        event.Veto();
        return;
    }
    // The script is closed first (it may ask to save): a cancelled close
    // leaves the window with its connection.
    if (m_pDocManager != nullptr && !m_pDocManager->Clear(!event.CanVeto())) {
        event.Veto();
        return;
    }
    // The panes went with the document, and with it the recovery file.
    m_pRecovery.reset();
    m_pScriptPane = nullptr;
    m_pOutputPane = nullptr;
    m_pDescribe.reset();
    m_pCatalogLoader.reset();
    m_connection.Disconnect();
    event.Skip();
}
