#pragma once

#include "exec/output_sink.h"
#include "panes/pane.h"

#include <string>
#include <string_view>

class wxStyledTextCtrl;

// The upper pane: the transcript of the runs. The user can read, select and
// copy it but not change it; the program appends to it. It keeps no undo
// history.
//
// Appends are fast for large results: between BeginBatch and EndBatch (or
// SuspendRedraw and ResumeRedraw) appended bytes are collected and put into
// the control in large pieces. Whatever reads or changes the pane's text or
// selection through the pane first puts the collected bytes in, so the pane
// always behaves as if every append had gone in at once. A batch must end
// before control returns to the event loop; find and replace and the user
// work on the control itself.
class COutputPane : public CPane, public COutputSink {
public:
    COutputPane() = default;

    // Adds text at the end: the selection first becomes an empty selection
    // at the end of the text (a selection the user made is lost), then the
    // text is inserted there and the caret follows it.
    void AppendText(std::string_view text) override;

    // Whole characters of the pane's font that fit the control's client
    // width: client width in pixels / m_nCharWidth, the remainder dropped;
    // 0 when no character width is set or the pane is narrower than one
    // character.
    int WrapWidth() const override;

    // Appends are collected from BeginBatch to the matching EndBatch
    // (batches nest), which puts them into the control.
    void BeginBatch();
    void EndBatch();
    // Puts collected appends into the control now.
    void Flush();

    // While set (a live run), appends leave the view and the selection alone
    // when the user has moved away from the end (the caret elsewhere, or the
    // end scrolled out of sight); at the end, the view follows the text.
    void KeepUserPlace(bool keep) noexcept { m_bKeepUserPlace = keep; }

    // Redraw suspension around one statement of a run: SuspendRedraw begins
    // a batch and freezes the control; ResumeRedraw ends the batch, thaws the
    // control and repaints it at once. They nest like the batches.
    void SuspendRedraw();
    void ResumeRedraw();
    // Puts collected appends in and repaints the pane at once.
    void RepaintNow();

    // Whether the echo, error and warning lines have colours of their own
    // (they do from the start; the benchmark measures what that costs).
    void ColourLines(bool colour);

    // The output pane has no say in closing the document.
    bool OnClose(bool deleteWindow) override;

protected:
    void ConfigureControl() override;
    void FlushPending() override { Flush(); }
    std::vector<std::pair<int, Rgb>> ClassColours(const PanePalette& palette) const override;

private:
    // Puts text into the control at the end; nothing may be pending.
    void Insert(std::string_view text);
    // The caret is at the end of the text and the last line is in view.
    static bool AtEnd(wxStyledTextCtrl& control);

    std::string m_strPending;
    // An append (even of nothing) has happened since the last flush: the
    // selection still has to move to the end.
    bool m_bAppended = false;
    int m_nBatchDepth = 0;
    int m_nFreezeDepth = 0;
    bool m_bKeepUserPlace = false;

    wxDECLARE_DYNAMIC_CLASS(COutputPane);
};
