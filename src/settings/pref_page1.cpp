#include "settings/pref_page1.h"

#include "common/message_box.h"
#include "panes/text_file_dialog.h"
#include "settings/check_field.h"
#include "settings/integer_field.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/gbsizer.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace {

// How a field's bytes show in an edit: as UTF-8, or byte for byte when
// they are not UTF-8 (a profile edited by hand), so nothing shows empty.
wxString Display(const std::string& bytes) {
    const wxString text = wxString::FromUTF8(bytes.data(), bytes.size());
    if (text.empty() && !bytes.empty()) return wxString(bytes.data(), wxConvISO8859_1, bytes.size());
    return text;
}

}  // namespace

CPrefPage1::CPrefPage1(wxWindow* parent) : wxPanel(parent, wxID_ANY) {
    CreateControls();
    Bind(wxEVT_CHECKBOX, &CPrefPage1::OnEnableSpooling, this, IDC_ENABLESPOOL);
    Bind(wxEVT_BUTTON, &CPrefPage1::OnSelectFile, this, IDC_SELECTFILE);
}

// The controls are made in tab order, which follows the layout row by row:
// 1001, 1005, 1002, 1003, 1004, 1013, 1012, 1014, 1015, 1011, 1016, 1017;
// the grid positions give the arrangement.
// Each label comes just before the control it names, which its mnemonic
// focuses; the mnemonics differ from each other and from the sheet's OK and
// Cancel. The group boxes have none: GTK would give theirs to the next
// control beside the box, not to the first one in it.
void CPrefPage1::CreateControls() {
    const int widthEdit = ConvertDialogToPixels(wxSize(42, 0)).x;
    const int commentEdit = ConvertDialogToPixels(wxSize(23, 0)).x;
    const int gap = ConvertDialogToPixels(wxSize(4, 4)).x;
    auto* page = new wxBoxSizer(wxVERTICAL);

    auto* widths = new wxStaticBoxSizer(wxHORIZONTAL, this, "Column width");
    wxStaticBox* widthBox = widths->GetStaticBox();
    widths->Add(new wxStaticText(widthBox, wxID_ANY, "Maximum &width:"), 0, wxALIGN_CENTER_VERTICAL | wxALL, gap);
    m_pMaxColLen = new wxTextCtrl(widthBox, IDC_MAXCOLLEN, wxString(), wxDefaultPosition, wxSize(widthEdit, -1));
    widths->Add(m_pMaxColLen, 0, wxALIGN_CENTER_VERTICAL | wxALL, gap);
    widths->AddStretchSpacer();
    widths->Add(new wxStaticText(widthBox, wxID_ANY, "&Default width:"), 0, wxALIGN_CENTER_VERTICAL | wxALL, gap);
    m_pDefColLen = new wxTextCtrl(widthBox, IDC_DEFCOLLEN, wxString(), wxDefaultPosition, wxSize(widthEdit, -1));
    widths->Add(m_pDefColLen, 0, wxALIGN_CENTER_VERTICAL | wxALL, gap);
    page->Add(widths, 0, wxEXPAND | wxALL, gap);

    auto* spooling = new wxStaticBoxSizer(wxVERTICAL, this, "Spooling");
    wxStaticBox* spoolBox = spooling->GetStaticBox();
    auto* spoolGrid = new wxGridBagSizer(gap, gap);
    m_pEnableSpool = new wxCheckBox(spoolBox, IDC_ENABLESPOOL, "Enable &spooling");
    spoolGrid->Add(m_pEnableSpool, wxGBPosition(0, 0), wxGBSpan(1, 2), wxALIGN_CENTER_VERTICAL);
    m_pSelectFile = new wxButton(spoolBox, IDC_SELECTFILE, "Select &file");
    spoolGrid->Add(m_pSelectFile, wxGBPosition(0, 2), wxDefaultSpan, wxALIGN_RIGHT);
    m_pSpoolFileLabel = new wxStaticText(spoolBox, IDC_SPOOLFILE_LABEL, "Spool f&ile:");
    spoolGrid->Add(m_pSpoolFileLabel, wxGBPosition(1, 0), wxDefaultSpan, wxALIGN_CENTER_VERTICAL);
    m_pSpoolFile = new wxTextCtrl(spoolBox, IDC_SPOOLFILE, wxString(), wxDefaultPosition, wxDefaultSize,
                                  wxTE_READONLY);
    spoolGrid->Add(m_pSpoolFile, wxGBPosition(1, 1), wxGBSpan(1, 2), wxEXPAND);
    spoolGrid->AddGrowableCol(1);
    spooling->Add(spoolGrid, 1, wxEXPAND | wxALL, gap);
    page->Add(spooling, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, gap);

    auto* comments = new wxStaticBoxSizer(wxVERTICAL, this, "Comments");
    wxStaticBox* commentBox = comments->GetStaticBox();
    auto* commentGrid = new wxGridBagSizer(gap, 2 * gap);
    const auto addLabel = [&](const char* text, int row, int column) {
        commentGrid->Add(new wxStaticText(commentBox, wxID_ANY, text), wxGBPosition(row, column), wxDefaultSpan,
                         wxALIGN_CENTER_VERTICAL);
    };
    const auto addEdit = [&](int id, int row, int column) {
        auto* edit = new wxTextCtrl(commentBox, id, wxString(), wxDefaultPosition, wxSize(commentEdit, -1));
        commentGrid->Add(edit, wxGBPosition(row, column), wxDefaultSpan, wxALIGN_CENTER_VERTICAL);
        return edit;
    };
    addLabel("&Multiline comment start:", 0, 0);
    m_pMultilineCommentStart = addEdit(IDC_MULTILINECOMMENTSTART, 0, 1);
    addLabel("Sin&gle line comment:", 0, 2);
    m_pSingleLineComment = addEdit(IDC_SINGLELINECOMMENT, 0, 3);
    addLabel("Multiline comment &end:", 1, 0);
    m_pMultilineCommentEnd = addEdit(IDC_MULTILINECOMMENTEND, 1, 1);
    m_pRemoveComments = new wxCheckBox(commentBox, IDC_REMOVECOMMENTS, "&Remove comments");
    commentGrid->Add(m_pRemoveComments, wxGBPosition(1, 2), wxGBSpan(1, 2), wxALIGN_CENTER_VERTICAL);
    comments->Add(commentGrid, 1, wxEXPAND | wxALL, gap);
    page->Add(comments, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, gap);

    m_pEnableOutput = new wxCheckBox(this, IDC_ENABLEOUTPUT, "Enable o&utput for statements which don't produce resultset");
    page->Add(m_pEnableOutput, 0, wxLEFT | wxRIGHT | wxBOTTOM, gap);
    m_pShowTiming = new wxCheckBox(this, IDC_SHOWTIMING, "Show elapsed &time");
    page->Add(m_pShowTiming, 0, wxLEFT | wxRIGHT | wxBOTTOM, gap);
    auto* nullText = new wxBoxSizer(wxHORIZONTAL);
    nullText->Add(new wxStaticText(this, wxID_ANY, "Show &NULL as"), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 2 * gap);
    m_pNullText = new wxTextCtrl(this, IDC_NULLTEXT, wxString(), wxDefaultPosition, wxSize(widthEdit, -1));
    nullText->Add(m_pNullText, 0, wxALIGN_CENTER_VERTICAL);
    page->Add(nullText, 0, wxLEFT | wxRIGHT | wxBOTTOM, gap);
    SetSizerAndFit(page);
}

void CPrefPage1::Initialise() {
    Exchange(false);
    EnableSpoolControls();
    m_bInitialised = true;
}

bool CPrefPage1::Exchange(bool save) {
    if (save) m_pRefused = nullptr;
    return ExchangeWidth(save, m_pDefColLen, m_prefs.DefColLen) &&
           ExchangeCheck(save, m_pEnableSpool, m_prefs.EnableSpool) &&
           ExchangeWidth(save, m_pMaxColLen, m_prefs.MaxColLen) &&
           ExchangeText(save, m_pSpoolFile, m_prefs.SpoolFile, false) &&
           ExchangeCheck(save, m_pEnableOutput, m_prefs.EnableOutput) &&
           ExchangeText(save, m_pSingleLineComment, m_prefs.SingleLineComment, true) &&
           ExchangeText(save, m_pMultilineCommentEnd, m_prefs.MultilineCommentEnd, true) &&
           ExchangeText(save, m_pMultilineCommentStart, m_prefs.MultilineCommentStart, true) &&
           ExchangeCheck(save, m_pRemoveComments, m_prefs.RemoveComments) &&
           ExchangeCheck(save, m_pShowTiming, m_prefs.ShowTiming) &&
           ExchangeText(save, m_pNullText, m_prefs.NullText, false);
}

bool CPrefPage1::ExchangeWidth(bool save, wxTextCtrl* edit, int& field) {
    if (!save) {
        edit->ChangeValue(std::to_string(field));
        return true;
    }
    const integer_field::Reading reading =
        integer_field::ReadInRange(edit->GetValue().utf8_string(), kMinWidth, kMaxWidth);
    if (!reading.Accepted()) return Fail(edit, reading.message);
    field = reading.value;
    return true;
}

bool CPrefPage1::ExchangeCheck(bool save, wxCheckBox* box, int& field) {
    if (save) {
        field = check_field::ValueOf(box->GetValue());
    } else {
        field = check_field::Normalise(field);
        box->SetValue(check_field::IsChecked(field));
    }
    return true;
}

bool CPrefPage1::ExchangeText(bool save, wxTextCtrl* edit, std::string& field, bool mustNotBeEmpty) {
    if (!save) {
        edit->ChangeValue(Display(field));
        return true;
    }
    // An unchanged edit keeps the field's own bytes, so a value that is not
    // UTF-8 goes back exactly as it came.
    const wxString text = edit->GetValue();
    const std::string value = text == Display(field) ? field : text.utf8_string();
    if (mustNotBeEmpty && value.empty()) return Fail(edit, kEmptyString);
    field = value;
    return true;
}

bool CPrefPage1::Fail(wxTextCtrl* edit, const std::string& message) {
    ShowMessageBox(wxString::FromUTF8(message.data(), message.size()), wxOK | wxICON_WARNING, this);
    m_pRefused = edit;
    FocusRefused();
    return false;
}

void CPrefPage1::FocusRefused() {
    if (m_pRefused == nullptr) return;
    m_pRefused->SetFocus();
    m_pRefused->SelectAll();
}

void CPrefPage1::EnableSpoolControls() {
    const bool enable = m_prefs.EnableSpool != 0;
    m_pSelectFile->Enable(enable);
    m_pSpoolFile->Enable(enable);
    m_pSpoolFileLabel->Enable(enable);
}

void CPrefPage1::OnEnableSpooling(wxCommandEvent&) {
    // A refused step has already been reported; the controls follow
    // whatever the exchange took.
    Exchange(true);
    EnableSpoolControls();
}

void CPrefPage1::OnSelectFile(wxCommandEvent&) {
    const std::optional<std::string> path = m_chooser ? m_chooser(this) : CTextFileDialog::Choose(this);
    if (!path) return;
    m_prefs.SpoolFile = *path;
    Exchange(false);
}
