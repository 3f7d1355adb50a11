#include "app/about_dlg.h"

#include "app/tool_bar_images.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/textctrl.h>

const char* CAboutDlg::Text() {
    return "Tarnwell, version 0.6.1\n"
           "Written by the Tarnwell developers.\n"
           "Questions and bug reports: the project's issue tracker.\n"
           "Source code and documentation: the project's repository.\n"
           "\n"
           "Thanks to the unixODBC, SQLite and PostgreSQL projects,\n"
           "and to the wxWidgets and Scintilla developers.\n";
}

CAboutDlg::CAboutDlg(wxWindow* parent) : wxDialog(parent, IDD, "About Tarnwell") {
    auto* icon = new wxStaticBitmap(this, wxID_STATIC, AppIcons().GetIcon(wxSize(32, 32)));
    auto* text = new wxTextCtrl(this, IDC_TEXT, wxString::FromUTF8(Text()), wxDefaultPosition,
                                wxSize(FromDIP(420), FromDIP(150)), wxTE_MULTILINE | wxTE_READONLY | wxBORDER_SUNKEN);
    auto* ok = new wxButton(this, wxID_OK, "OK");
    ok->SetDefault();

    auto* body = new wxBoxSizer(wxHORIZONTAL);
    body->Add(icon, 0, wxALL, FromDIP(10));
    body->Add(text, 1, wxEXPAND | wxTOP | wxRIGHT, FromDIP(10));
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(body, 1, wxEXPAND);
    top->Add(ok, 0, wxALIGN_RIGHT | wxALL, FromDIP(10));
    SetSizerAndFit(top);
    SetEscapeId(wxID_OK);
    ok->SetFocus();
}
