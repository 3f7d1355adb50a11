#pragma once

#include "db/data_source_list.h"

#include <wx/dialog.h>

#include <string>
#include <thread>
#include <vector>

class CDbConnection;
class wxOwnerDrawnComboBox;
class wxTextCtrl;

// The modal "Connect" dialog: data source, user name and (hidden) password.
// The data source is typed or chosen from a drop-down of the data sources
// the driver manager knows (with their driver's description), which a
// worker thread reads as the dialog opens; a text holding "=" is a
// connection string. OK connects at once; a failed connect is shown in a
// message box (with the ODBC doctor's report when the set-up is at fault)
// and the dialog still ends with OK, so the caller always takes the typed
// values. No field is checked: empty values go to the driver manager as
// they are.
class CConnectDlg : public wxDialog {
public:
    enum : int { IDD = 12795, IDC_DATASOURCE = 12796, IDC_USERNAME = 12797, IDC_PASSWORD = 12798 };

    // A failed connect's message box shows at most this many bytes less one.
    static constexpr std::size_t kMessageCapacity = 512;

    explicit CConnectDlg(wxWindow* parent);
    // Waits for the worker that reads the data sources.
    ~CConnectDlg() override;
    CConnectDlg(const CConnectDlg&) = delete;
    CConnectDlg& operator=(const CConnectDlg&) = delete;

    // The three values (set before the dialog is shown, read after OK) and
    // the connection that OK connects.
    std::string m_strDataSource;
    std::string m_strUserName;
    std::string m_strPassword;
    CDbConnection* m_pConnection = nullptr;

    // Data exchange between the three strings and the three edits.
    bool TransferDataToWindow() override;
    bool TransferDataFromWindow() override;

private:
    struct Choice {
        std::string name;
        std::string label;   // what the drop-down shows: the name and the driver's description
    };
    static std::vector<Choice> ReadChoices();
    void ShowChoices(const std::vector<Choice>& choices);
    void OnOK(wxCommandEvent& event);
    void OnChoose(wxCommandEvent& event);

    wxOwnerDrawnComboBox* m_pDataSource;
    wxTextCtrl* m_pUserName;
    wxTextCtrl* m_pPassword;
    std::vector<Choice> m_choices;   // the drop-down's entries, in order
    std::thread m_lister;
};
