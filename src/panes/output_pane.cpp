#include "panes/output_pane.h"

#include "panes/output_line_classes.h"
#include "panes/stc_cell_styler.h"
#include "panes/stc_writable_scope.h"

#include <wx/stc/stc.h>

#include <algorithm>
#include <exception>

wxIMPLEMENT_DYNAMIC_CLASS(COutputPane, CPane);

namespace {

// Collected appends go into the control once they reach this size, so a huge
// result never lies in memory twice over.
constexpr std::size_t kFlushSize = std::size_t{1} << 20;

}  // namespace

void COutputPane::ConfigureControl() {
    wxStyledTextCtrl& control = *GetControl();
    control.SetReadOnly(true);
    control.SetUndoCollection(false);
    control.EmptyUndoBuffer();
    // Nobody listens to changes of the transcript.
    control.SetModEventMask(0);
    ColourLines(true);
    // All text goes in through Insert and SetText, which report it.
    Styler().TrackInsertions();
}

void COutputPane::ColourLines(bool colour) {
    if (GetControl() != nullptr) Styler().SetClassifier(colour ? CStcCellStyler::Classifier(ClassifyOutputLines) : nullptr);
}

std::vector<std::pair<int, Rgb>> COutputPane::ClassColours(const PanePalette& palette) const {
    return {{static_cast<int>(OutputClass::Echo), palette.echo},
            {static_cast<int>(OutputClass::Error), palette.error},
            {static_cast<int>(OutputClass::Warning), palette.warning}};
}

bool COutputPane::OnClose(bool /*deleteWindow*/) { return true; }

void COutputPane::AppendText(std::string_view text) {
    m_bAppended = true;
    // A piece as large as a batch goes in as it is, without a copy.
    if (m_strPending.empty() && text.size() >= kFlushSize) {
        Insert(text);
        return;
    }
    m_strPending.append(text);
    if (m_nBatchDepth == 0 || m_strPending.size() >= kFlushSize) Flush();
}

void COutputPane::Flush() {
    if (!m_bAppended) return;
    std::string pending;
    pending.swap(m_strPending);
    Insert(pending);
    // Keep the buffer's room for the next batch.
    pending.clear();
    if (m_strPending.empty()) m_strPending.swap(pending);
}

void COutputPane::Insert(std::string_view text) {
    m_bAppended = false;
    wxStyledTextCtrl* control = GetControl();
    if (control == nullptr) return;
    CStcWritableScope writable(*control);
    if (m_bKeepUserPlace && !AtEnd(*control)) {
        // The user moved away from the end: the text goes in behind the view.
        for (std::string_view rest = text; !rest.empty();) {
            const std::size_t piece = std::min<std::size_t>(rest.size(), 1 << 24);
            Styler().Inserted(control->GetTextLength(), static_cast<int>(piece));
            control->AppendTextRaw(rest.data(), static_cast<int>(piece));
            rest.remove_prefix(piece);
        }
        return;
    }
    control->SetEmptySelection(control->GetTextLength());
    AddBytes(*control, text);
    // The pane follows the end of the transcript as it grows.
    control->EnsureCaretVisible();
}

bool COutputPane::AtEnd(wxStyledTextCtrl& control) {
    const int length = control.GetTextLength();
    if (control.GetSelectionStart() != length || control.GetSelectionEnd() != length) return false;
    return control.GetFirstVisibleLine() + control.LinesOnScreen() >= control.GetLineCount();
}

int COutputPane::WrapWidth() const {
    const wxStyledTextCtrl* control = GetControl();
    if (control == nullptr || m_nCharWidth <= 0) return 0;
    return std::max(0, control->GetClientSize().x) / m_nCharWidth;
}

void COutputPane::BeginBatch() { ++m_nBatchDepth; }

void COutputPane::EndBatch() {
    if (m_nBatchDepth > 0) --m_nBatchDepth;
    if (m_nBatchDepth == 0) Flush();
}

void COutputPane::SuspendRedraw() {
    BeginBatch();
    if (wxStyledTextCtrl* control = GetControl()) {
        control->Freeze();
        ++m_nFreezeDepth;
    }
}

void COutputPane::ResumeRedraw() {
    // The control thaws even when putting the collected text in fails.
    std::exception_ptr failure;
    try {
        EndBatch();
    } catch (...) {
        failure = std::current_exception();
    }
    if (m_nFreezeDepth > 0) {
        --m_nFreezeDepth;
        if (wxStyledTextCtrl* control = GetControl()) {
            control->Thaw();
            if (m_nFreezeDepth == 0 && !failure) RepaintNow();
        }
    }
    if (failure) std::rethrow_exception(failure);
}

void COutputPane::RepaintNow() {
    Flush();
    if (wxStyledTextCtrl* control = GetControl()) {
        control->Refresh();
        control->Update();
    }
}
