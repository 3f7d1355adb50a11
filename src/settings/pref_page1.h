#pragma once

#include "settings/general_prefs.h"

#include <wx/panel.h>

#include <functional>
#include <optional>
#include <string>

class wxButton;
class wxCheckBox;
class wxStaticText;
class wxTextCtrl;

// The "General" page of the Options sheet: column widths, spooling, the
// output mode, the comment settings, the elapsed time and the NULL text. Its
// fields (Prefs) mirror eleven settings; the data exchange moves them to and from the controls in a
// fixed order, and a save validates each step straight after taking it.
class CPrefPage1 : public wxPanel {
public:
    // Control ids.
    enum : int {
        IDC_MAXCOLLEN = 1001,
        IDC_ENABLESPOOL = 1002,
        IDC_SELECTFILE = 1003,
        IDC_SPOOLFILE = 1004,
        IDC_DEFCOLLEN = 1005,
        IDC_SPOOLFILE_LABEL = 1006,
        IDC_ENABLEOUTPUT = 1011,
        IDC_SINGLELINECOMMENT = 1012,
        IDC_MULTILINECOMMENTSTART = 1013,
        IDC_MULTILINECOMMENTEND = 1014,
        IDC_REMOVECOMMENTS = 1015,
        IDC_SHOWTIMING = 1016,
        IDC_NULLTEXT = 1017,
    };
    static constexpr int kMinWidth = 1;
    static constexpr int kMaxWidth = 1000;
    static constexpr const char* kEmptyString = "String can't be empty";

    // Chooses the spool file: its full path, or none when cancelled.
    using FileChooser = std::function<std::optional<std::string>(wxWindow* parent)>;

    explicit CPrefPage1(wxWindow* parent);

    CGeneralPrefs& Prefs() { return m_prefs; }
    const CGeneralPrefs& Prefs() const { return m_prefs; }

    // The first showing: a load exchange, then EnableSpoolControls.
    void Initialise();
    bool IsInitialised() const { return m_bInitialised; }

    // save false: fields to controls (no validation). save true: controls
    // to fields in the fixed order; the first step that fails reports its
    // message in a warning box, gives its control the focus with the whole
    // text selected and ends the exchange (false). Earlier steps keep what
    // they took, the failing and later ones their previous values.
    bool Exchange(bool save);

    // Gives the focus back to the control of the last refused step, with
    // its text selected (after something else took the focus meanwhile).
    void FocusRefused();

    // Enables "Select file", the spool path and its label when the spooling
    // field (not the check box) is non-zero, else disables them.
    void EnableSpoolControls();

    // Replaces the save dialog behind "Select file" (for tests).
    void SetFileChooser(FileChooser chooser) { m_chooser = std::move(chooser); }

private:
    void CreateControls();
    void OnEnableSpooling(wxCommandEvent& event);
    void OnSelectFile(wxCommandEvent& event);

    bool ExchangeWidth(bool save, wxTextCtrl* edit, int& field);
    bool ExchangeCheck(bool save, wxCheckBox* box, int& field);
    bool ExchangeText(bool save, wxTextCtrl* edit, std::string& field, bool mustNotBeEmpty);
    bool Fail(wxTextCtrl* edit, const std::string& message);

    CGeneralPrefs m_prefs;
    bool m_bInitialised = false;
    FileChooser m_chooser;
    wxTextCtrl* m_pRefused = nullptr;  // the edit of the step the last save refused

    wxTextCtrl* m_pMaxColLen = nullptr;
    wxTextCtrl* m_pDefColLen = nullptr;
    wxCheckBox* m_pEnableSpool = nullptr;
    wxButton* m_pSelectFile = nullptr;
    wxStaticText* m_pSpoolFileLabel = nullptr;
    wxTextCtrl* m_pSpoolFile = nullptr;
    wxTextCtrl* m_pMultilineCommentStart = nullptr;
    wxTextCtrl* m_pMultilineCommentEnd = nullptr;
    wxTextCtrl* m_pSingleLineComment = nullptr;
    wxCheckBox* m_pRemoveComments = nullptr;
    wxCheckBox* m_pEnableOutput = nullptr;
    wxCheckBox* m_pShowTiming = nullptr;
    wxTextCtrl* m_pNullText = nullptr;
};
