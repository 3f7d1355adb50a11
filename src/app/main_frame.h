#pragma once

#include "db/db_connection.h"
#include "editor/completion_list.h"
#include "history/history_list.h"
#include "exec/run_map.h"
#include "exec/script_runner.h"
#include "exec/transaction_state.h"
#include "settings/settings_record.h"

#include <wx/docview.h>

#include <exception>
#include <functional>
#include <memory>
#include <string>

class CBackgroundRun;
class CCatalogLoader;
class CDescribeJob;
class CStatementSource;
class CDbStatement;
class CDocManager;
class CFindController;
class COutputPane;
class CProfileStore;
class CScript;
class CScriptPane;
class CRowSplitter;
class CScriptRecovery;
class CHistoryStore;
class wxKeyEvent;
class wxStyledTextEvent;

// The worksheet's one main window and the hub of the program: it holds the
// settings, the database connection, the values last typed into the Connect
// dialog, the history of executed scripts and the two panes (output above,
// script below, in a splitter), and it carries out the window's own
// commands. Commands reach the active pane first, then the document, then
// this frame, then the application; a command that none of them handles is
// shown disabled.
class CMainFrame : public wxDocParentFrame {
public:
    // Creates the window with its menus, tool bar, status bar and (still
    // empty) splitter. size: the outer size (the platform's default when
    // wxDefaultSize). The panes come with AttachDocument.
    CMainFrame(CDocManager* manager, CProfileStore& store, const wxSize& size = wxDefaultSize);
    ~CMainFrame() override;

    // Puts the script document's pane (made by the document template under
    // the splitter) in the lower row and a new output pane in the upper one,
    // h = max(H - 100, 0) / 2 pixels high where H is the window's outer
    // height; makes the script pane active; loads the settings (which puts
    // the pane font into both panes). False when a pane is missing.
    bool AttachDocument(CScript* script);

    // The Connect dialog (File > Change Connection), after the open
    // transaction's question (see SettleTransaction): shows the values last
    // confirmed; on OK keeps the typed values and sets the connection text to
    // "user@dsn" when the connect succeeded, else "not connected"; Cancel
    // changes nothing. The title is brought up to date either way.
    void OnChangeConnection();
    // The values the next Connect dialog starts with.
    void SetConnectValues(const std::string& dataSource, const std::string& userName);

    // Title: document title, " - Tarnwell - " and the connection text.
    void UpdateTitle();

    // Execute: runs the script pane's whole script against the connection
    // and writes the transcript into the output pane. After the connection
    // was lost it first asks whether to connect again (with the values of
    // the last connect) and run; No runs on the lost connection. The run goes on on a
    // worker thread while the window stays live; the commands that would
    // change the script, the connection, the settings, the history or the
    // output are disabled until it ends.
    void OnExecute();
    // Execute Current Statement: runs the selected text (when it is not the
    // whole script) or else the statement that holds the caret, as a run of
    // its own; afterwards that text is selected.
    void OnExecuteStatement();
    // Cancel Execution (Esc, the stop button): stops the running script.
    void OnCancelExecution();
    // A run is going on.
    bool IsRunning() const { return m_pRun != nullptr; }
    // Commands > Commit and Rollback: ends the open transaction on the
    // worker thread, with its echo and "ok" (or the error) in the output.
    void OnEndTransaction(TransactionEnd end);
    // Commands > Auto Commit (the AutoCommit setting): turning it on asks
    // about the open transaction first.
    void OnAutoCommit();
    // Where the window's connection stands with transactions.
    const CTransactionState& Transaction() const { return m_txn; }

    // One statement of a run, and the table of one result set.
    void ExecuteStatement(const std::string& statement);
    void PrintResultSet(CDbStatement& statement);

    // Puts m_logFont into both panes: face, height (negative: character
    // height, positive: cell height, in pixels; 0: the default), never bold.
    // The output pane learns the font's average character width. Selections
    // and the script's modified state stay as they were.
    void ApplyPaneFont();

    // Runs a command the way its menu entry, accelerator or tool-bar button
    // does: asks the command routing whether it is enabled and, if so, sends
    // it. False when the command is disabled.
    bool RunCommand(int id);
    // Whether the command routing enables the command now.
    bool IsCommandEnabled(int id);

    // The settings record and the connection text (for the other parts of
    // the window and for tests).
    CSettingsRecord& Settings() { return m_settings; }
    const std::string& ConnectionText() const { return m_strConnection; }
    CDbConnection& Connection() { return m_connection; }
    CHistoryList& History() { return m_history; }
    CRowSplitter* Splitter() const { return m_pSplitter; }
    CScriptPane* ScriptPane() const { return m_pScriptPane; }
    COutputPane* OutputPane() const { return m_pOutputPane; }
    CScript* Script() const;

    // Start-up: offers the scripts that windows no longer running left for
    // recovery (see CRecoveryOffer); nothing when recovery files are off.
    void OfferRecovery();
    // What keeps this window's modified script for recovery (none when
    // recovery files are off, and once the script is closed).
    CScriptRecovery* Recovery() const { return m_pRecovery.get(); }

    // The splitter's first row height for a window of outer height H.
    static int InitialOutputHeight(int outerHeight);

    // The panes' font and character width; LOGFONT heights are pixels.
    static constexpr int kTwipsPerInch = 1440;

private:
    void CreateMenus();
    void CreateToolBarButtons();
    void CreateStatusBarFields();

    void LoadSettings();
    void SaveSettings();

    void OnCommand(wxCommandEvent& event);
    void OnUpdateCommand(wxUpdateUIEvent& event);
    bool HasHandler(int id) const;
    void OnCharHook(wxKeyEvent& event);
    void OnIdle(wxIdleEvent& event);
    void OnClose(wxCloseEvent& event);
    void OnActivate(wxActivateEvent& event);
    void OpenHistoryStore();
    bool TryBefore(wxEvent& event) override;
    bool DisabledDuringRun(int id) const;
    void OnRunFinished(std::exception_ptr failure);
    void StartRun(CStatementSource& source, long ranFrom, long ranTo);
    void ShowRunMarks();
    void OnStatementRan();
    void OnScriptEdited(bool inserted, std::size_t position, std::size_t length);
    void OnOutputDoubleClick(wxStyledTextEvent& event);
    void GoToFailure(bool forward);
    void SelectRunStatement(const CRunMap::Statement& statement);
    void ConfirmCloseDuringRun();
    bool SettleTransaction(const std::function<void()>& then);
    void ConnectionChanged();
    void ApplyAutoCommit();
    void ShowTransactionField();
    void ExitLeavingTheRun(bool force);
    void OnDocumentTitle(wxCommandEvent& event);
    void DoGiveHelp(const wxString& text, bool show) override;

    void OnPrevScript();
    void OnNextScript();
    void OnHistory();
    void LoadHistoryEntry(const std::string& text);
    void OnClearOutput();
    void OnSaveOutput();
    void OnOptions();
    // Gives the comment delimiters of the settings to completion and to the
    // script's colouring.
    void ApplyCommentSyntax();
    void OnNextPane();
    void OnDescribe();
    void FinishDescribe(const std::string& text);
    void RestartCatalog();
    void UpdateKeyIndicators();

    CDocManager* m_pDocManager;
    CProfileStore& m_store;

    CScriptPane* m_pScriptPane = nullptr;
    COutputPane* m_pOutputPane = nullptr;
    CSettingsRecord m_settings;
    bool m_bSettingsLoaded = false;
    CRowSplitter* m_pSplitter = nullptr;
    int m_nInitialOutputHeight = 0;
    CDbConnection m_connection;
    std::string m_strDataSource;
    std::string m_strUserName;
    std::string m_strPassword;
    std::string m_strConnection = "not connected";
    CHistoryList m_history;
    // Declared before the run, which records into it from its worker.
    std::unique_ptr<CHistoryStore> m_pHistoryStore;
    std::unique_ptr<CFindController> m_pFind;
    std::unique_ptr<CBackgroundRun> m_pRun;
    // The text that Execute Current Statement runs, while it runs.
    std::unique_ptr<CStatementSource> m_pRunText;
    // What the last run did, statement by statement (the marks, the way back
    // from the output, the errors).
    CRunMap m_runMap;
    // What comes once the run has ended (closing the window after a
    // cancelled run, going on after the open transaction ended).
    std::function<void()> m_afterRun;
    // The run ends the open transaction rather than running statements.
    bool m_bEndingTransaction = false;
    CTransactionState m_txn;
    // Describe while it runs (it uses the connection on a worker, so no run
    // starts meanwhile).
    std::unique_ptr<CDescribeJob> m_pDescribe;
    // The connection's catalog, read on a connection of its own, and the
    // completion that offers it.
    std::unique_ptr<CCatalogLoader> m_pCatalogLoader;
    CCompletionList m_completion;
    // The running script holds CREATE, ALTER or DROP: the catalog is read
    // again after it.
    bool m_bRunChangesSchema = false;
    std::unique_ptr<CScriptRecovery> m_pRecovery;
    // The key-state texts shown last, so idle time repaints only changes.
    wxString m_strKeyStates[3];

    wxDECLARE_EVENT_TABLE();
};
