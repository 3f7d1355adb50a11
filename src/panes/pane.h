#pragma once

#include "panes/pane_palette.h"

#include <wx/docview.h>
#include <wx/event.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class wxFont;
class wxStyledTextCtrl;
class wxUpdateUIEvent;
class wxWindowDestroyEvent;
class wxFocusEvent;
class wxStyledTextEvent;
class wxSysColourChangedEvent;
class CStcCellStyler;

// Sent to the frame that holds a pane (processed at once) when the document's
// file name, title or modified state changes. The frame composes its own
// title, so a pane never sets the frame's title itself.
wxDECLARE_EVENT(EVT_PANE_DOCUMENT_TITLE, wxCommandEvent);

// A view of the script document whose window is a plain-text control. Text
// is bytes, passed unchanged; positions and lengths are byte counts, and a
// "\r\n" line end counts two.
//
// The control is created by Create (or, for the view that the document
// template makes, by OnCreate under the parent given to SetTemplateParent).
// It lives in the frame's window tree; deleting the view destroys it, and a
// view whose control has gone reads as an empty pane.
class CPane : public wxView {
public:
    CPane();
    ~CPane() override;
    CPane(const CPane&) = delete;
    CPane& operator=(const CPane&) = delete;

    // Creates the text control as a child of parent (a row of the frame's
    // splitter). The view's frame becomes parent's top-level window.
    bool Create(wxWindow* parent);

    // The parent under which OnCreate creates the control of a view that the
    // document template makes. The frame sets it to its splitter before the
    // document and its view are created; none makes OnCreate fail.
    static void SetTemplateParent(wxWindow* parent);

    // Whether the desktop's theme is dark; the panes take the dark palette
    // then (see PanePalette). They ask at creation and whenever the system's
    // colours change (the event reaches the controls from their frame).
    // Tests set their own answer; none restores the toolkit's.
    using AppearanceQuery = std::function<bool()>;
    static void SetAppearanceQuery(AppearanceQuery query);

    // The text control (none before Create and after it was destroyed). Find
    // and replace and redraw suspension work on it directly.
    wxStyledTextCtrl* GetControl() const { return m_pCtrl; }

    // The length of the text in bytes.
    int GetTextLength();

    // Copies at most size - 1 bytes of the text into buffer and ends them
    // with a NUL. Nothing happens when buffer is none or size is 0 or less.
    void GetText(char* buffer, int size);
    // The whole text, every byte (also bytes after a NUL).
    std::string GetText();

    // Replaces the whole text (replaceSelection false; the caret goes to the
    // start) or only the selection (true; the caret goes to the end of the
    // inserted text). Every byte of text is put in, NUL bytes included; a
    // const char* text ends at its NUL, and none means the empty text. The
    // change is one step for Undo. Works on a read-only pane as well.
    void SetText(std::string_view text, bool replaceSelection);
    void SetText(const char* text, bool replaceSelection);

    // Selects start up to end (end -1: the end of the text), clamped to the
    // text; start == end puts the caret there. The caret is scrolled into view.
    void SetSelection(long start, long end);

    // Makes font's face and size the pane's font for all text, existing and
    // new, never bold, italic or underlined; keeps the selection, repaints
    // at once and keeps averageCharWidth (pixels) in m_nCharWidth. Wide
    // characters are drawn two cells of the font wide, all others one. A font
    // size of 0 or less keeps the control's own size. Inserts and deletes
    // nothing, so the document's modified flag is left alone.
    void SetPaneFont(const wxFont& font, int averageCharWidth);

    int GetCharWidth() const { return m_nCharWidth; }

    // wxView
    void OnDraw(wxDC* dc) override;
    bool OnCreate(wxDocument* doc, long flags) override;
    void OnChangeFilename() override;

protected:
    // The control's settings that differ between the two panes; called by
    // Create after the settings they share.
    virtual void ConfigureControl() {}

    // The colours of the pane's classes of text (style numbers, see
    // CStcCellStyler) in palette; the rest is in the palette's text colour.
    virtual std::vector<std::pair<int, Rgb>> ClassColours(const PanePalette& /*palette*/) const { return {}; }

    // Styles the control's text: the pane gives it its classifier or lexer.
    CStcCellStyler& Styler() { return *m_pCellStyler; }

    // Puts text still held back by the pane into the control; called before
    // any operation reads or changes the control's text or selection.
    virtual void FlushPending() {}

    // Inserts bytes at the caret of control, unchanged, and reports them to
    // the styler; the caret ends after them.
    void AddBytes(wxStyledTextCtrl& control, std::string_view bytes);

    // Edit commands that both panes handle.
    void OnEditCopy(wxCommandEvent& event);
    void OnEditSelectAll(wxCommandEvent& event);
    void OnUpdateAlwaysEnabled(wxUpdateUIEvent& event);

    // The average character width of the pane's font in pixels (0 until a
    // font with a width is set).
    int m_nCharWidth = 0;

private:
    void ConfigureCommon();
    // Colours the text, selection, caret and margins by the desktop's theme.
    void ApplyPalette();
    void OnSysColourChanged(wxSysColourChangedEvent& event);
    void OnControlDestroyed(wxWindowDestroyEvent& event);
    void OnControlFocus(wxFocusEvent& event);
    void OnControlZoom(wxStyledTextEvent& event);

    wxStyledTextCtrl* m_pCtrl = nullptr;
    // Keeps every character on the pane font's cells (while m_pCtrl lives).
    std::unique_ptr<CStcCellStyler> m_pCellStyler;

    wxDECLARE_EVENT_TABLE();
    wxDECLARE_ABSTRACT_CLASS(CPane);
};
