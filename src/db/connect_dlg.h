#pragma once

#include <wx/dialog.h>

#include <string>

class CDbConnection;
class wxTextCtrl;

// The modal "Connect" dialog: data source, user name and (hidden) password.
// OK connects at once; a failed connect is shown in a message box and the
// dialog still ends with OK, so the caller always takes the typed values.
// No field is checked: empty values go to the driver manager as they are.
class CConnectDlg : public wxDialog {
public:
    enum : int { IDD = 12795, IDC_DATASOURCE = 12796, IDC_USERNAME = 12797, IDC_PASSWORD = 12798 };

    // A failed connect's message box shows at most this many bytes less one.
    static constexpr std::size_t kMessageCapacity = 512;

    explicit CConnectDlg(wxWindow* parent);

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
    void OnOK(wxCommandEvent& event);

    wxTextCtrl* m_pDataSource;
    wxTextCtrl* m_pUserName;
    wxTextCtrl* m_pPassword;
};
