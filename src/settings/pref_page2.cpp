#include "settings/pref_page2.h"

#include "app/pane_font.h"
#include "settings/charset_table.h"
#include "settings/face_name_list.h"
#include "settings/font_arithmetic.h"
#include "settings/font_description.h"
#include "settings/simple_combo_box.h"

#include <wx/dcscreen.h>
#include <wx/fontenum.h>
#include <wx/listbox.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

#include <iterator>
#include <vector>

namespace {

constexpr int kFallbackPixelsPerInch = 96;

// The encoding whose fonts support a charset; the system encoding (every
// face) for "Default" and for charsets without a counterpart.
wxFontEncoding EncodingOf(std::uint8_t charset) {
    switch (charset) {
    case 0: return wxFONTENCODING_CP1252;
    case 77: return wxFONTENCODING_MACROMAN;
    case 128: return wxFONTENCODING_SHIFT_JIS;
    case 129: return wxFONTENCODING_CP949;
    case 130: return wxFONTENCODING_JOHAB;
    case 134: return wxFONTENCODING_GB2312;
    case 136: return wxFONTENCODING_BIG5;
    case 161: return wxFONTENCODING_CP1253;
    case 162: return wxFONTENCODING_CP1254;
    case 163: return wxFONTENCODING_CP1258;
    case 177: return wxFONTENCODING_CP1255;
    case 178: return wxFONTENCODING_CP1256;
    case 186: return wxFONTENCODING_CP1257;
    case 204: return wxFONTENCODING_CP1251;
    case 222: return wxFONTENCODING_CP874;
    case 238: return wxFONTENCODING_CP1250;
    case 255: return wxFONTENCODING_CP437;
    default: return wxFONTENCODING_SYSTEM;
    }
}

// Collects every face the font layer reports, each once.
class CFaceCollector : public wxFontEnumerator {
public:
    explicit CFaceCollector(CFaceNameList& faces) : m_faces(faces) {}
    bool OnFacename(const wxString& face) override {
        m_faces.Add(face.utf8_string());
        return true;
    }

private:
    CFaceNameList& m_faces;
};

// The faces that support a charset. A font layer of Unicode fonts (Pango)
// cannot list faces by a legacy encoding; it then lists every face, as it
// does for "Default".
std::vector<std::string> FacesFor(std::uint8_t charset) {
    CFaceNameList faces;
    CFaceCollector collector(faces);
    const wxFontEncoding encoding = EncodingOf(charset);
    collector.EnumerateFacenames(encoding);
    if (faces.Names().empty() && encoding != wxFONTENCODING_SYSTEM) collector.EnumerateFacenames(wxFONTENCODING_SYSTEM);
    return faces.Names();
}

// The sample shows the font exactly as the panes would get it.
wxFont MakeFont(const LOGFONT& description) {
    wxScreenDC dc;
    return MakePaneFont(description, dc);
}

wxString Ui(std::string_view text) { return wxString::FromUTF8(text.data(), text.size()); }

}  // namespace

CPrefPage2::CPrefPage2(wxWindow* parent, LOGFONT& font, int charsetIndex)
    : wxPanel(parent, wxID_ANY), m_logFont(font), m_nCharsetIndex(charsetIndex) {
    CreateControls();
    Bind(wxEVT_COMBOBOX, &CPrefPage2::OnNotification, this, IDC_FACE);
    Bind(wxEVT_COMBOBOX, &CPrefPage2::OnNotification, this, IDC_SIZE);
    Bind(EVT_SIMPLE_COMBO_FOCUS_LOST, &CPrefPage2::OnNotification, this, IDC_FACE);
    Bind(EVT_SIMPLE_COMBO_FOCUS_LOST, &CPrefPage2::OnNotification, this, IDC_SIZE);
    Bind(wxEVT_LISTBOX, &CPrefPage2::OnNotification, this, IDC_CHARSET);
    m_pCharsetList->Bind(wxEVT_SET_FOCUS, &CPrefPage2::OnCharsetFocus, this);
}

void CPrefPage2::CreateControls() {
    const int gap = ConvertDialogToPixels(wxSize(4, 4)).x;
    auto* page = new wxBoxSizer(wxVERTICAL);
    auto* lists = new wxBoxSizer(wxHORIZONTAL);

    m_pFaceBox = new CSimpleComboBox(this, IDC_FACE, "&Font:", IDC_FONT_LABEL, gap / 2,
                                     ConvertDialogToPixels(wxSize(108, 40)));
    lists->Add(m_pFaceBox, 108, wxEXPAND | wxRIGHT, 2 * gap);

    // The size box's edit takes as many digits as fit in it.
    m_pSizeBox = new CSimpleComboBox(this, IDC_SIZE, "&Size:", IDC_SIZE_LABEL, gap / 2,
                                     ConvertDialogToPixels(wxSize(32, 40)), 4);
    lists->Add(m_pSizeBox, 40, wxEXPAND | wxRIGHT, 2 * gap);

    auto* charsetColumn = new wxBoxSizer(wxVERTICAL);
    charsetColumn->Add(new wxStaticText(this, wxID_ANY, "C&harset:"), 0, wxBOTTOM, gap / 2);
    m_pCharsetList = new wxListBox(this, IDC_CHARSET, wxDefaultPosition, ConvertDialogToPixels(wxSize(64, 48)), 0,
                                   nullptr, wxLB_SINGLE | wxLB_ALWAYS_SB);
    charsetColumn->Add(m_pCharsetList, 1, wxEXPAND);
    lists->Add(charsetColumn, 64, wxEXPAND);
    page->Add(lists, 1, wxEXPAND | wxALL, gap);

    // The sample sentence, centred both ways in a fixed area that clips it.
    auto* sampleGroup = new wxStaticBoxSizer(new wxStaticBox(this, IDC_SAMPLE_GROUP, "Sample"), wxVERTICAL);
    auto* sampleArea = new wxPanel(sampleGroup->GetStaticBox(), wxID_ANY, wxDefaultPosition,
                                   ConvertDialogToPixels(wxSize(210, 34)));
    // The sample only shows; Tab goes past it.
    sampleArea->SetCanFocus(false);
    m_pSample = new wxStaticText(sampleArea, IDC_SAMPLE, wxString(), wxDefaultPosition, wxDefaultSize,
                                 wxALIGN_CENTRE_HORIZONTAL);
    m_pSample->SetLabelText(kSampleText);
    sampleArea->Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
        event.Skip();
        CentreSample();
    });
    sampleGroup->Add(sampleArea, 1, wxEXPAND | wxALL, gap);
    page->Add(sampleGroup, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, gap);
    SetSizerAndFit(page);
}

void CPrefPage2::Initialise() {
    Exchange(false);

    m_nPixelsPerInch = wxScreenDC().GetPPI().y;
    if (m_nPixelsPerInch <= 0) m_nPixelsPerInch = kFallbackPixelsPerInch;

    m_sampleDescription = m_logFont;
    m_sampleFont = MakeFont(m_sampleDescription);
    m_strFaceName = font_description::FaceName(m_logFont);
    m_strSize = std::to_string(font_arithmetic::SizeForHeight(m_logFont.lfHeight, m_nPixelsPerInch));

    m_pFaceBox->SetEntries(FacesFor(m_logFont.lfCharSet));
    m_pSizeBox->SetEntries(std::vector<std::string>(std::begin(kSizes), std::end(kSizes)));
    for (const CharsetEntry& charset : kCharsetTable) m_pCharsetList->Append(Ui(charset.name));
    if (m_nCharsetIndex >= 0 && m_nCharsetIndex < static_cast<int>(kCharsetTable.size())) {
        m_pCharsetList->SetSelection(m_nCharsetIndex);
    }
    ShowSampleFont(false);
    Exchange(false);
    m_bInitialised = true;
}

void CPrefPage2::Exchange(bool save) {
    if (save) {
        m_strFaceName = m_pFaceBox->GetText();
        m_strSize = m_pSizeBox->GetText();
    } else {
        m_pFaceBox->ShowValue(m_strFaceName);
        m_pSizeBox->ShowValue(m_strSize);
    }
}

void CPrefPage2::UpdateSample() {
    // A list entry chosen in the focused box counts over its edit text.
    const wxWindow* focus = wxWindow::FindFocus();
    for (CSimpleComboBox* box : {m_pFaceBox, m_pSizeBox}) {
        if (focus != nullptr && box->Contains(focus) && box->GetSelection() != wxNOT_FOUND) {
            box->SetText(box->Entries()[static_cast<std::size_t>(box->GetSelection())]);
        }
    }
    Exchange(true);

    // Without a chosen charset the page keeps the index and charset it had.
    std::uint8_t charset = m_sampleDescription.lfCharSet;
    if (const int selection = m_pCharsetList->GetSelection(); selection != wxNOT_FOUND) {
        m_nCharsetIndex = selection;
        charset = kCharsetTable[static_cast<std::size_t>(selection)].value;
    }
    m_sampleDescription = font_description::Build(m_strFaceName, m_strSize, m_nPixelsPerInch, charset);
    m_sampleFont = MakeFont(m_sampleDescription);
    ShowSampleFont(true);
}

void CPrefPage2::OnOK() { m_logFont = m_sampleDescription; }

void CPrefPage2::ShowSampleFont(bool repaint) {
    m_pSample->SetFont(m_sampleFont);
    CentreSample();
    if (!repaint) return;
    m_pSample->GetParent()->Refresh();
    m_pSample->GetParent()->Update();
}

// The sentence stays on one line, centred both ways in its area, which
// clips what does not fit on either side. GTK learns a label's new size
// only once it has restyled it, so the size comes from measuring the text.
void CPrefPage2::CentreSample() {
    const wxSize room = m_pSample->GetParent()->GetClientSize();
    const wxSize extent = m_pSample->GetTextExtent(m_pSample->GetLabelText());
    m_pSample->SetSize((room.x - extent.x) / 2, (room.y - extent.y) / 2, extent.x, extent.y);
}

void CPrefPage2::OnNotification(wxCommandEvent&) {
    // Focus changes also come while the sheet is being torn down.
    if (m_bInitialised && !IsBeingDeleted() && !wxGetTopLevelParent(this)->IsBeingDeleted()) UpdateSample();
}

void CPrefPage2::OnCharsetFocus(wxFocusEvent& event) {
    event.Skip();
    wxCommandEvent notification;
    OnNotification(notification);
}
