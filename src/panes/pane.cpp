#include "panes/pane.h"

#include "panes/pane_palette.h"
#include "panes/stc_cell_styler.h"
#include "panes/stc_writable_scope.h"

#include <wx/font.h>
#include <wx/stc/stc.h>
#include <wx/settings.h>
#include <wx/toplevel.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <new>

wxDEFINE_EVENT(EVT_PANE_DOCUMENT_TITLE, wxCommandEvent);

wxIMPLEMENT_ABSTRACT_CLASS(CPane, wxView);

wxBEGIN_EVENT_TABLE(CPane, wxView)
    EVT_MENU(wxID_COPY, CPane::OnEditCopy)
    EVT_MENU(wxID_SELECTALL, CPane::OnEditSelectAll)
    EVT_UPDATE_UI(wxID_COPY, CPane::OnUpdateAlwaysEnabled)
    EVT_UPDATE_UI(wxID_SELECTALL, CPane::OnUpdateAlwaysEnabled)
wxEND_EVENT_TABLE()

namespace {

wxWindow* s_pTemplateParent = nullptr;

CPane::AppearanceQuery& Appearance() {
    static CPane::AppearanceQuery query;
    return query;
}

bool IsDark() {
    if (const CPane::AppearanceQuery& query = Appearance()) return query();
    return wxSystemSettings::GetAppearance().IsDark();
}

wxColour ToColour(Rgb rgb) { return wxColour(rgb.red, rgb.green, rgb.blue); }

// Text never touches the pane's left border.
constexpr int kTextIndent = 4;

// Scintilla's "make anchor to caret the only selection". Unlike the plain
// selection calls it does not copy the selected text into the window
// system's primary selection, which for a large output (Select All) would
// convert all of it to a wide-character string first.
constexpr int kSciSetSelection = 2572;

// Scintilla takes lengths as int: very long texts go in several pieces.
constexpr std::size_t kMaxPiece = std::size_t{1} << 30;

// The largest room a control can hold (positions are int).
constexpr std::size_t kMaxRoom = static_cast<std::size_t>(std::numeric_limits<int>::max());

// Up to this size a text's room doubles as it grows; beyond it, it jumps to
// kLargeRoom (see RoomFor).
constexpr std::size_t kSmallText = std::size_t{1} << 20;
constexpr std::size_t kLargeRoom = std::size_t{256} << 20;

// The room a control should have for a text of size bytes. The control keeps
// the text in one buffer and a style byte for every character in another;
// growing one copies all of it into new memory, while the window waits.
// Room that is reserved but not yet written costs no memory (the system maps
// pages on their first touch), while the first touch of new memory costs much
// more than the copying itself. So a small text doubles its room (a script, a
// short transcript), and a large one, which is a transcript taking a large
// result set, gets 256 MB at once, then all a control can hold: a million
// rows of 120 characters cost just the pages they fill, and the one copy on
// the way is of a megabyte. (The worksheet's operator new marks blocks this
// large for huge pages, which makes the first touch cheaper still:
// app/huge_page_allocation.cpp.)
std::size_t RoomFor(std::size_t size) {
    if (size <= kSmallText) return std::bit_ceil(std::max<std::size_t>(size, 1));
    return size <= kLargeRoom ? kLargeRoom : kMaxRoom;
}

// Gives control room for at least size bytes when a text of length bytes
// grows to size. Where the system refuses that much address space, the
// control gets just enough (still in doubling steps), and where it refuses
// even that, the control grows by itself as it inserts.
void ReserveRoom(wxStyledTextCtrl& control, std::size_t length, std::size_t size) {
    std::size_t room = RoomFor(size);
    if (room <= RoomFor(length) || size > kMaxRoom) return;
    try {
        control.Allocate(static_cast<int>(room));
    } catch (const std::bad_alloc&) {
        room = std::min(std::bit_ceil(size), kMaxRoom);
        try {
            control.Allocate(static_cast<int>(room));
        } catch (const std::bad_alloc&) {
            return;
        }
    }
}

}  // namespace

void CPane::AddBytes(wxStyledTextCtrl& control, std::string_view bytes) {
    if (bytes.empty()) return;
    m_pCellStyler->Inserted(control.GetCurrentPos(), static_cast<int>(std::min(bytes.size(), kMaxRoom)));
    const auto length = static_cast<std::size_t>(control.GetTextLength());
    ReserveRoom(control, length, length + bytes.size());
    while (!bytes.empty()) {
        const std::size_t piece = std::min(bytes.size(), kMaxPiece);
        control.AddTextRaw(bytes.data(), static_cast<int>(piece));
        bytes.remove_prefix(piece);
    }
}

CPane::CPane() = default;

CPane::~CPane() {
    m_pCellStyler.reset();
    if (m_pCtrl != nullptr) {
        wxStyledTextCtrl* control = m_pCtrl;
        m_pCtrl = nullptr;
        control->Unbind(wxEVT_DESTROY, &CPane::OnControlDestroyed, this);
        control->Destroy();
    }
}

void CPane::SetTemplateParent(wxWindow* parent) { s_pTemplateParent = parent; }

void CPane::SetAppearanceQuery(AppearanceQuery query) { Appearance() = std::move(query); }

bool CPane::Create(wxWindow* parent) {
    wxCHECK_MSG(parent != nullptr && m_pCtrl == nullptr, false, "a pane is created once, under a parent");
    auto* control = new wxStyledTextCtrl();
    if (!control->Create(parent, wxID_ANY)) {
        delete control;
        return false;
    }
    m_pCtrl = control;
    ConfigureCommon();
    ConfigureControl();
    control->Bind(wxEVT_DESTROY, &CPane::OnControlDestroyed, this);
    control->Bind(wxEVT_SET_FOCUS, &CPane::OnControlFocus, this);
    control->Bind(wxEVT_STC_ZOOM, &CPane::OnControlZoom, this);
    control->Bind(wxEVT_SYS_COLOUR_CHANGED, &CPane::OnSysColourChanged, this);
    SetFrame(wxGetTopLevelParent(parent));
    return true;
}

void CPane::ConfigureCommon() {
    wxStyledTextCtrl& control = *m_pCtrl;
    // Plain text: UTF-8 bytes as they are, styled only to keep characters
    // on the font's cells (CStcCellStyler), no margins, no wrapping (result
    // tables keep their columns; long lines are reached with the horizontal
    // scroll bar).
    control.SetCodePage(wxSTC_CP_UTF8);
    control.SetEOLMode(wxSTC_EOL_CRLF);
    control.SetPasteConvertEndings(true);
    control.SetWrapMode(wxSTC_WRAP_NONE);
    control.SetUseHorizontalScrollBar(true);
    control.SetUseVerticalScrollBar(true);
    control.SetScrollWidth(1);
    control.SetScrollWidthTracking(true);
    for (int margin = 0; margin <= wxSTC_MAX_MARGIN; ++margin) control.SetMarginWidth(margin, 0);
    control.SetMarginLeft(kTextIndent);
    control.UsePopUp(wxSTC_POPUP_NEVER);
    // Keys the control would take for itself although the window's commands
    // own them: Ctrl+D changes the connection; Ctrl+A is Select All, whose
    // selection stays out of the primary selection (see SetSelection); and
    // zooming would make the text wider than the character width the output
    // is wrapped by.
    control.CmdKeyClear('D', wxSTC_KEYMOD_CTRL);
    control.CmdKeyClear('A', wxSTC_KEYMOD_CTRL);
    control.CmdKeyClear(wxSTC_KEY_ADD, wxSTC_KEYMOD_CTRL);
    control.CmdKeyClear(wxSTC_KEY_SUBTRACT, wxSTC_KEYMOD_CTRL);
    control.CmdKeyClear(wxSTC_KEY_DIVIDE, wxSTC_KEYMOD_CTRL);
    m_pCellStyler = std::make_unique<CStcCellStyler>(control);
    ApplyPalette();
}

void CPane::ApplyPalette() {
    wxStyledTextCtrl& control = *m_pCtrl;
    const PanePalette palette = PanePalette::For(IsDark());
    // Every style is the pane font, in another size where a character needs
    // it (see CStcCellStyler): they all take the palette's colours, and the
    // pane's classes of text their own.
    for (int style = 0; style <= wxSTC_STYLE_MAX; ++style) {
        const bool margin = style == wxSTC_STYLE_LINENUMBER;
        control.StyleSetForeground(style, ToColour(palette.text));
        control.StyleSetBackground(style, ToColour(margin ? palette.margin : palette.background));
    }
    for (int margin = 0; margin <= wxSTC_MAX_MARGIN; ++margin) control.SetMarginBackground(margin, ToColour(palette.margin));
    control.StyleSetBackground(wxSTC_STYLE_BRACELIGHT, ToColour(palette.braceBackground));
    control.StyleSetForeground(wxSTC_STYLE_BRACEBAD, ToColour(palette.error));
    std::vector<std::pair<int, wxColour>> colours;
    for (const auto& [cls, colour] : ClassColours(palette)) colours.emplace_back(cls, ToColour(colour));
    m_pCellStyler->SetClassColours(std::move(colours));
    control.SetSelForeground(true, ToColour(palette.selectionText));
    control.SetSelBackground(true, ToColour(palette.selectionBackground));
    control.SetCaretForeground(ToColour(palette.caret));
}

void CPane::OnSysColourChanged(wxSysColourChangedEvent& event) {
    if (m_pCtrl != nullptr) {
        ApplyPalette();
        m_pCtrl->Refresh();
    }
    event.Skip();
}

bool CPane::OnCreate(wxDocument* /*doc*/, long /*flags*/) {
    return s_pTemplateParent != nullptr && Create(s_pTemplateParent);
}

void CPane::OnDraw(wxDC* /*dc*/) {
    // The control paints itself.
}

void CPane::OnChangeFilename() {
    wxWindow* frame = GetFrame();
    if (frame == nullptr) return;
    wxCommandEvent event(EVT_PANE_DOCUMENT_TITLE);
    event.SetEventObject(this);
    frame->GetEventHandler()->ProcessEvent(event);
}

int CPane::GetTextLength() {
    FlushPending();
    return m_pCtrl != nullptr ? m_pCtrl->GetTextLength() : 0;
}

void CPane::GetText(char* buffer, int size) {
    if (buffer == nullptr || size <= 0) return;
    const int length = GetTextLength();
    const int count = std::min(length, size - 1);
    if (count > 0) std::memcpy(buffer, m_pCtrl->GetRangePointer(0, count), static_cast<std::size_t>(count));
    buffer[std::max(count, 0)] = '\0';
}

std::string CPane::GetText() {
    const int length = GetTextLength();
    if (length <= 0) return {};
    return std::string(m_pCtrl->GetCharacterPointer(), static_cast<std::size_t>(length));
}

void CPane::SetText(const char* text, bool replaceSelection) {
    SetText(text != nullptr ? std::string_view(text) : std::string_view(), replaceSelection);
}

void CPane::SetText(std::string_view text, bool replaceSelection) {
    FlushPending();
    if (m_pCtrl == nullptr) return;
    wxStyledTextCtrl& control = *m_pCtrl;
    CStcWritableScope writable(control);
    const int start = replaceSelection ? control.GetSelectionStart() : 0;
    const int end = replaceSelection ? control.GetSelectionEnd() : control.GetTextLength();
    control.BeginUndoAction();
    if (start != end) {
        control.SetTargetRange(start, end);
        control.ReplaceTargetRaw("", 0);
    }
    control.SetEmptySelection(start);
    AddBytes(control, text);
    control.EndUndoAction();
    if (!replaceSelection) control.GotoPos(0);
}

void CPane::SetSelection(long start, long end) {
    const long length = GetTextLength();
    if (m_pCtrl == nullptr) return;
    if (end < 0 || end > length) end = length;
    start = std::clamp(start, 0L, length);
    m_pCtrl->SendMsg(kSciSetSelection, static_cast<wxUIntPtr>(end), static_cast<wxIntPtr>(start));
    m_pCtrl->EnsureCaretVisible();
}

void CPane::SetPaneFont(const wxFont& font, int averageCharWidth) {
    FlushPending();
    m_nCharWidth = averageCharWidth;
    if (m_pCtrl == nullptr || !font.IsOk()) return;
    wxStyledTextCtrl& control = *m_pCtrl;
    const int anchor = control.GetAnchor();
    const int caret = control.GetCurrentPos();
    // The default style carries the font; clearing all styles gives every
    // character, present and future, the default style.
    const wxString face = font.GetFaceName();
    if (!face.empty()) control.StyleSetFaceName(wxSTC_STYLE_DEFAULT, face);
    const double points = font.GetFractionalPointSize();
    if (points > 0) {
        control.StyleSetSizeFractional(wxSTC_STYLE_DEFAULT,
                                       static_cast<int>(std::lround(points * wxSTC_FONT_SIZE_MULTIPLIER)));
    }
    control.StyleSetBold(wxSTC_STYLE_DEFAULT, false);
    control.StyleSetItalic(wxSTC_STYLE_DEFAULT, false);
    control.StyleSetUnderline(wxSTC_STYLE_DEFAULT, false);
    control.StyleClearAll();
    ApplyPalette();
    m_pCellStyler->Reset();
    control.SendMsg(kSciSetSelection, static_cast<wxUIntPtr>(caret), static_cast<wxIntPtr>(anchor));
    control.Refresh();
    control.Update();
}

void CPane::OnEditCopy(wxCommandEvent& /*event*/) {
    if (m_pCtrl != nullptr) m_pCtrl->Copy();
}

void CPane::OnEditSelectAll(wxCommandEvent& /*event*/) { SetSelection(0, -1); }

void CPane::OnUpdateAlwaysEnabled(wxUpdateUIEvent& event) { event.Enable(true); }

void CPane::OnControlDestroyed(wxWindowDestroyEvent& event) {
    if (event.GetEventObject() == m_pCtrl) {
        // The frame goes with its windows: the view no longer has one.
        m_pCellStyler.reset();
        m_pCtrl = nullptr;
        SetFrame(nullptr);
    }
    event.Skip();
}

void CPane::OnControlFocus(wxFocusEvent& event) {
    // A click into a pane, or F6, makes it the view that commands go to first.
    if (GetDocument() != nullptr && GetDocumentManager() != nullptr) Activate(true);
    event.Skip();
}

void CPane::OnControlZoom(wxStyledTextEvent& event) {
    // Ctrl with the mouse wheel zooms the control; the pane's font is set by
    // the preferences only.
    if (m_pCtrl != nullptr && m_pCtrl->GetZoom() != 0) m_pCtrl->SetZoom(0);
    event.Skip();
}
