#include "db/connect_dlg.h"

#include "app/ui_text.h"
#include "common/exception.h"
#include "common/message_box.h"
#include "db/db_connection.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/utils.h>

#include <new>

CConnectDlg::CConnectDlg(wxWindow* parent) : wxDialog(parent, IDD, "Connect") {
    const int editWidth = FromDIP(160);
    auto edit = [&](int id, long style) {
        return new wxTextCtrl(this, id, wxString(), wxDefaultPosition, wxSize(editWidth, -1), style);
    };
    m_pDataSource = edit(IDC_DATASOURCE, 0);
    m_pUserName = edit(IDC_USERNAME, 0);
    m_pPassword = edit(IDC_PASSWORD, wxTE_PASSWORD);

    auto* fields = new wxFlexGridSizer(2, FromDIP(6), FromDIP(8));
    auto addRow = [&](const char* label, wxTextCtrl* control) {
        fields->Add(new wxStaticText(this, wxID_STATIC, label), 0, wxALIGN_CENTER_VERTICAL | wxALIGN_RIGHT);
        fields->Add(control, 1, wxEXPAND);
    };
    addRow("Datasource:", m_pDataSource);
    addRow("Username:", m_pUserName);
    addRow("Password:", m_pPassword);

    auto* ok = new wxButton(this, wxID_OK, "OK");
    auto* cancel = new wxButton(this, wxID_CANCEL, "Cancel");
    ok->SetDefault();
    auto* buttons = new wxBoxSizer(wxVERTICAL);
    buttons->Add(ok, 0, wxEXPAND | wxBOTTOM, FromDIP(4));
    buttons->Add(cancel, 0, wxEXPAND);

    auto* top = new wxBoxSizer(wxHORIZONTAL);
    top->Add(fields, 1, wxALL, FromDIP(10));
    top->Add(buttons, 0, wxTOP | wxRIGHT | wxBOTTOM, FromDIP(10));
    SetSizerAndFit(top);

    Bind(wxEVT_BUTTON, &CConnectDlg::OnOK, this, wxID_OK);
    m_pDataSource->SetFocus();
}

bool CConnectDlg::TransferDataToWindow() {
    m_pDataSource->ChangeValue(ToUiString(m_strDataSource));
    m_pUserName->ChangeValue(ToUiString(m_strUserName));
    m_pPassword->ChangeValue(ToUiString(m_strPassword));
    // The first field has the focus; its text is selected so typing replaces it.
    m_pDataSource->SelectAll();
    return wxDialog::TransferDataToWindow();
}

bool CConnectDlg::TransferDataFromWindow() {
    m_strDataSource = FromUiString(m_pDataSource->GetValue());
    m_strUserName = FromUiString(m_pUserName->GetValue());
    m_strPassword = FromUiString(m_pPassword->GetValue());
    return wxDialog::TransferDataFromWindow();
}

void CConnectDlg::OnOK(wxCommandEvent&) {
    TransferDataFromWindow();
    std::string failure;
    {
        wxBusyCursor wait;
        try {
            if (m_pConnection) m_pConnection->Connect(m_strDataSource, m_strUserName, m_strPassword);
        } catch (const CException& e) {
            failure = e.GetErrorMessage(kMessageCapacity);
        } catch (const std::bad_alloc&) {
            failure = "Out of memory.";
        }
    }
    if (!failure.empty()) ShowMessageBox(ToUiString(failure), wxOK | wxICON_EXCLAMATION, this);
    // Connected or not, the dialog ends with OK so the caller keeps the values.
    EndModal(wxID_OK);
}
