#pragma once

#include "settings/log_font.h"

#include <wx/propdlg.h>

#include <functional>

class CPrefPage1;
class CPrefPage2;
class CSettingsRecord;
class wxBookCtrlEvent;

// The Options sheet: the General page, then the Font page, with OK and
// Cancel. A page is initialised the first time it is shown and loaded from
// its fields when shown again; leaving a page takes its controls into its
// fields, and a refusal keeps the page shown. OK leaves the page shown in
// the same way, then runs the OK step of every page shown so far.
class CPrefDlg : public wxPropertySheetDialog {
public:
    enum { kGeneralPage = 0, kFontPage = 1 };

    // font and charsetIndex: what the Font page works on (see CPrefPage2).
    CPrefDlg(wxWindow* parent, LOGFONT& font, int charsetIndex);

    CPrefPage1& General() { return *m_pGeneral; }
    CPrefPage2& Font() { return *m_pFont; }

    // Opens on the General page.
    int ShowModal() override;

    // What OK does before the sheet closes; false keeps it open.
    bool ConfirmOk();

    // The Options command: copies the settings into the sheet, shows it and,
    // after OK, copies them back, calling applyPaneFont when the font
    // description changed (see options_flow::TakeOk). Cancel changes
    // nothing. Returns whether the font description changed.
    static bool Run(wxWindow* parent, CSettingsRecord& settings, const std::function<void()>& applyPaneFont);

private:
    void ShowPage(int index);
    bool LeavePage(int index);
    void ReturnToPage(int index);
    void OnPageChanging(wxBookCtrlEvent& event);
    void OnPageChanged(wxBookCtrlEvent& event);
    void OnOk(wxCommandEvent& event);

    CPrefPage1* m_pGeneral;
    CPrefPage2* m_pFont;
};
