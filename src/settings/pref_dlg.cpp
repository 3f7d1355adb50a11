#include "settings/pref_dlg.h"

#include "settings/options_flow.h"
#include "settings/pref_page1.h"
#include "settings/pref_page2.h"
#include "settings/settings_record.h"

#include <wx/app.h>
#include <wx/bookctrl.h>

CPrefDlg::CPrefDlg(wxWindow* parent, LOGFONT& font, int charsetIndex)
    : wxPropertySheetDialog(parent, wxID_ANY, "Options") {
#if defined(__WXGTK__) && wxCHECK_VERSION(3, 2, 1)
    // Closing the sheet takes the pages out of GTK's notebook one by one.
    // Once a screen reader has looked at the tabs, GTK's accessibility code
    // then asks each removed page for its tab label and logs a critical
    // assertion for every page, which no order of removal avoids.
    // wxWidgets filters that one message out, but only after being allowed
    // to install its GLib log writer (the program installs no other).
    wxApp::GTKAllowDiagnosticsControl();
#endif
    wxBookCtrlBase* book = GetBookCtrl();
    m_pGeneral = new CPrefPage1(book);
    m_pFont = new CPrefPage2(book, font, charsetIndex);
    book->AddPage(m_pGeneral, "General", true);
    book->AddPage(m_pFont, "Font", false);
    CreateButtons(wxOK | wxCANCEL);
    LayoutDialog();

    book->Bind(wxEVT_BOOKCTRL_PAGE_CHANGING, &CPrefDlg::OnPageChanging, this);
    book->Bind(wxEVT_BOOKCTRL_PAGE_CHANGED, &CPrefDlg::OnPageChanged, this);
    Bind(wxEVT_BUTTON, &CPrefDlg::OnOk, this, wxID_OK);
}

int CPrefDlg::ShowModal() {
    GetBookCtrl()->ChangeSelection(kGeneralPage);
    ShowPage(kGeneralPage);
    return wxPropertySheetDialog::ShowModal();
}

void CPrefDlg::ShowPage(int index) {
    if (index == kGeneralPage) {
        if (m_pGeneral->IsInitialised()) {
            m_pGeneral->Exchange(false);
        } else {
            m_pGeneral->Initialise();
        }
    } else if (index == kFontPage) {
        if (m_pFont->IsInitialised()) {
            m_pFont->Exchange(false);
        } else {
            m_pFont->Initialise();
        }
    }
}

bool CPrefDlg::LeavePage(int index) {
    if (index == kGeneralPage) return m_pGeneral->Exchange(true);
    if (index == kFontPage && m_pFont->IsInitialised()) m_pFont->Exchange(true);
    return true;
}

bool CPrefDlg::ConfirmOk() {
    if (!LeavePage(GetBookCtrl()->GetSelection())) return false;
    // The General page has no OK step of its own.
    if (m_pFont->IsInitialised()) m_pFont->OnOK();
    return true;
}

void CPrefDlg::OnPageChanging(wxBookCtrlEvent& event) {
    if (event.GetEventObject() != GetBookCtrl()) return event.Skip();
    const int page = event.GetOldSelection();
    if (LeavePage(page)) return;
    event.Veto();
    // GTK's notebook switches before it hears of the veto: it takes a
    // clicked tab back only after the click, a switch by program not at all,
    // and either way it moves the focus. Once the switch is over, the
    // refused page comes back with the focus on the refused control.
    CallAfter([this, page] { ReturnToPage(page); });
}

void CPrefDlg::ReturnToPage(int index) {
    if (GetBookCtrl()->GetSelection() != index) GetBookCtrl()->ChangeSelection(index);
    if (index == kGeneralPage) m_pGeneral->FocusRefused();
}

void CPrefDlg::OnPageChanged(wxBookCtrlEvent& event) {
    if (event.GetEventObject() != GetBookCtrl()) return event.Skip();
    ShowPage(event.GetSelection());
}

void CPrefDlg::OnOk(wxCommandEvent&) {
    if (ConfirmOk()) EndModal(wxID_OK);
}

bool CPrefDlg::Run(wxWindow* parent, CSettingsRecord& settings, const std::function<void()>& applyPaneFont) {
    const LOGFONT fontBefore = settings.m_logFont;
    CPrefDlg sheet(parent, settings.m_logFont, settings.FontCharset);
    sheet.General().Prefs() = options_flow::GeneralFrom(settings);
    if (sheet.ShowModal() != wxID_OK) return false;
    return options_flow::TakeOk(settings, sheet.General().Prefs(), sheet.Font().CharsetIndex(), fontBefore,
                                applyPaneFont);
}
