#include "db/connect_dlg.h"

#include "app/ui_text.h"
#include "common/exception.h"
#include "common/message_box.h"
#include "db/db_connection.h"
#include "db/db_exception.h"
#include "db/odbc_doctor.h"
#include "db/odbc_setup.h"

#include <wx/button.h>
#include <wx/odcombo.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/utils.h>

#include <new>

CConnectDlg::CConnectDlg(wxWindow* parent) : wxDialog(parent, IDD, "Connect") {
    const int editWidth = FromDIP(160);
    // Each label comes just before its edit, so its mnemonic (Alt+D, Alt+U,
    // Alt+P) focuses that edit; the edits come in tab order.
    auto* fields = new wxFlexGridSizer(2, FromDIP(6), FromDIP(8));
    auto addRow = [&](const char* label, auto makeControl) {
        fields->Add(new wxStaticText(this, wxID_STATIC, label), 0, wxALIGN_CENTER_VERTICAL | wxALIGN_RIGHT);
        auto* control = makeControl();
        fields->Add(control, 1, wxEXPAND);
        return control;
    };
    const auto edit = [&](int id, long style) {
        return [=, this] { return new wxTextCtrl(this, id, wxString(), wxDefaultPosition, wxSize(editWidth, -1), style); };
    };
    m_pDataSource = addRow("&Datasource:", [&] {
        // Drawn by the toolkit-independent combo control: its drop-down
        // button takes no focus, so Tab goes on to the user name.
        return new wxOwnerDrawnComboBox(this, IDC_DATASOURCE, wxString(), wxDefaultPosition, wxSize(editWidth, -1), 0,
                                        nullptr, wxCB_DROPDOWN);
    });
    m_pUserName = addRow("&Username:", edit(IDC_USERNAME, 0));
    m_pPassword = addRow("&Password:", edit(IDC_PASSWORD, wxTE_PASSWORD));

    auto* ok = new wxButton(this, wxID_OK, "&OK");
    auto* cancel = new wxButton(this, wxID_CANCEL, "&Cancel");
    ok->SetDefault();
    auto* buttons = new wxBoxSizer(wxVERTICAL);
    buttons->Add(ok, 0, wxEXPAND | wxBOTTOM, FromDIP(4));
    buttons->Add(cancel, 0, wxEXPAND);

    auto* top = new wxBoxSizer(wxHORIZONTAL);
    top->Add(fields, 1, wxALL, FromDIP(10));
    top->Add(buttons, 0, wxTOP | wxRIGHT | wxBOTTOM, FromDIP(10));
    SetSizerAndFit(top);

    Bind(wxEVT_BUTTON, &CConnectDlg::OnOK, this, wxID_OK);
    m_pDataSource->Bind(wxEVT_COMBOBOX, &CConnectDlg::OnChoose, this);
    m_pDataSource->SetFocus();

    // The driver manager reads its files for the list: off this thread.
    m_lister = std::thread([this] {
        std::vector<Choice> choices;
        try {
            choices = ReadChoices();
        } catch (const std::bad_alloc&) {
            return;   // no list; typing still works
        }
        CallAfter([this, choices = std::move(choices)] { ShowChoices(choices); });
    });
}

// A list that arrives after this is queued for the dialog and goes with it.
CConnectDlg::~CConnectDlg() { m_lister.join(); }

std::vector<CConnectDlg::Choice> CConnectDlg::ReadChoices() {
    std::vector<Choice> choices;
    for (const DataSourceEntry& entry : CDataSourceList::Read()) {
        const std::string description = COdbcSetup::DriverDescription(entry.driver);
        choices.push_back({entry.name, entry.name + " (" + (description.empty() ? entry.driver : description) + ")"});
    }
    return choices;
}

void CConnectDlg::ShowChoices(const std::vector<Choice>& choices) {
    // Filling the list leaves what is typed (and what is selected of it) as it is.
    const wxString typed = m_pDataSource->GetValue();
    long from = 0, to = 0;
    m_pDataSource->GetSelection(&from, &to);
    m_choices = choices;
    for (const Choice& choice : m_choices) m_pDataSource->Append(ToUiString(choice.label));
    if (m_pDataSource->GetValue() != typed) m_pDataSource->ChangeValue(typed);
    m_pDataSource->SetSelection(from, to);
}

// A chosen entry puts its data source name into the field.
void CConnectDlg::OnChoose(wxCommandEvent& event) {
    const int index = event.GetSelection();
    if (index >= 0 && static_cast<std::size_t>(index) < m_choices.size())
        m_pDataSource->ChangeValue(ToUiString(m_choices[static_cast<std::size_t>(index)].name));
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
    for (const Choice& choice : m_choices)
        if (m_strDataSource == choice.label) m_strDataSource = choice.name;
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
        } catch (const CDBException& e) {
            failure = e.GetErrorMessage(kMessageCapacity);
            if (COdbcDoctor::Helps(e.SqlState())) failure += "\n" + COdbcDoctor::Report(m_strDataSource);
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
