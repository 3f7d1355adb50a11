#pragma once

#include "settings/log_font.h"

#include <wx/font.h>
#include <wx/panel.h>

#include <string>

class CSimpleComboBox;
class wxFocusEvent;
class wxListBox;
class wxStaticText;

// The "Font" page of the Options sheet: a face, a size in points and a
// character set, with a sample sentence in the font they make. It works on
// the caller's font description, which only its OK step rewrites (with the
// description of the font the sample shows).
class CPrefPage2 : public wxPanel {
public:
    // Control ids.
    enum : int {
        IDC_CHARSET = 1010,
        IDC_SAMPLE_GROUP = 1073,
        IDC_FONT_LABEL = 1088,
        IDC_SIZE_LABEL = 1090,
        IDC_SAMPLE = 13044,
        IDC_FACE = 13070,
        IDC_SIZE = 13072,
    };
    static constexpr const char* kSampleText = "The quick brown fox jumps over the lazy dog.";
    static constexpr const char* kSizes[] = {"8",  "9",  "10", "11", "12", "14", "16", "18",
                                             "20", "22", "24", "26", "28", "36", "48"};

    // font: the description the page reads at its first showing and
    // overwrites in its OK step. charsetIndex: the FontCharset setting.
    CPrefPage2(wxWindow* parent, LOGFONT& font, int charsetIndex);

    // The first showing: measures the display's pixels per inch, makes the
    // sample font from the description, fills the three lists and shows the
    // face, size and charset.
    void Initialise();
    bool IsInitialised() const { return m_bInitialised; }

    // save false: shows the face name and size in their boxes (the first
    // list entry that begins with the text, else the text itself). save
    // true: takes both boxes' edit texts. Nothing is validated.
    void Exchange(bool save);

    // Rebuilds the sample font from the boxes and the charset list.
    void UpdateSample();

    // The OK step: the description becomes the sample font's.
    void OnOK();

    // The charset index that OK hands back (kept as given until the user
    // picks an entry of the charset list).
    int CharsetIndex() const { return m_nCharsetIndex; }
    int PixelsPerInch() const { return m_nPixelsPerInch; }
    const LOGFONT& SampleDescription() const { return m_sampleDescription; }

    CSimpleComboBox* FaceBox() const { return m_pFaceBox; }
    CSimpleComboBox* SizeBox() const { return m_pSizeBox; }
    wxListBox* CharsetList() const { return m_pCharsetList; }
    wxStaticText* Sample() const { return m_pSample; }

private:
    void CreateControls();
    void FillFaceBox();
    void OnNotification(wxCommandEvent& event);
    void OnCharsetFocus(wxFocusEvent& event);
    void ShowSampleFont(bool repaint);
    void CentreSample();

    LOGFONT& m_logFont;
    int m_nCharsetIndex;
    wxListBox* m_pCharsetList = nullptr;
    wxStaticText* m_pSample = nullptr;
    CSimpleComboBox* m_pSizeBox = nullptr;
    CSimpleComboBox* m_pFaceBox = nullptr;
    std::string m_strFaceName;
    std::string m_strSize;
    wxFont m_sampleFont;
    LOGFONT m_sampleDescription;  // what m_sampleFont was made from
    int m_nPixelsPerInch = 0;
    bool m_bInitialised = false;
};
