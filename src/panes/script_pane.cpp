#include "panes/script_pane.h"

#include "editor/completion_list.h"
#include "editor/sql_colouring.h"
#include "editor/sql_keywords.h"
#include "exec/run_map.h"
#include "panes/stc_cell_styler.h"
#include "script/script.h"

#include <wx/stc/stc.h>

#include <algorithm>
#include <string_view>

wxIMPLEMENT_DYNAMIC_CLASS(CScriptPane, CPane);

namespace {

// The margin of the run marks and its markers.
constexpr int kMarkMargin = 1;
constexpr int kMarkSucceeded = 0;
constexpr int kMarkFailed = 1;
constexpr int kMarkStopped = 2;
constexpr int kMarkMask = (1 << kMarkSucceeded) | (1 << kMarkFailed) | (1 << kMarkStopped);
// The squiggle under the spot a failed statement's message names (the
// indicators below 8 belong to lexers).
constexpr int kErrorIndicator = 8;

// Sets a flag for the lifetime of the scope.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : m_flag(flag) { m_flag = true; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;
    ~FlagScope() { m_flag = false; }

private:
    bool& m_flag;
};

// The line end that Enter and pasted text get in a script: the script's own
// first line end, so new lines match the file ("\n" where it uses bare
// line feeds, the norm on Linux); "\r\n" otherwise and for a script
// without any line end.
int EolModeOf(std::string_view text) {
    const std::size_t end = text.find_first_of("\r\n");
    return end != std::string_view::npos && text[end] == '\n' ? wxSTC_EOL_LF : wxSTC_EOL_CRLF;
}

// The colouring of the script's own classes and the control's SQL lexer
// number their styles alike.
static_assert(static_cast<int>(SqlClass::BlockComment) == wxSTC_SQL_COMMENT &&
              static_cast<int>(SqlClass::LineComment) == wxSTC_SQL_COMMENTLINE &&
              static_cast<int>(SqlClass::Number) == wxSTC_SQL_NUMBER &&
              static_cast<int>(SqlClass::Keyword) == wxSTC_SQL_WORD &&
              static_cast<int>(SqlClass::QuotedName) == wxSTC_SQL_STRING &&
              static_cast<int>(SqlClass::String) == wxSTC_SQL_CHARACTER &&
              static_cast<int>(SqlClass::Operator) == wxSTC_SQL_OPERATOR);

}  // namespace

wxBEGIN_EVENT_TABLE(CScriptPane, CPane)
    EVT_MENU(wxID_UNDO, CScriptPane::OnEditUndo)
    EVT_MENU(wxID_CUT, CScriptPane::OnEditCut)
    EVT_MENU(wxID_PASTE, CScriptPane::OnEditPaste)
    EVT_UPDATE_UI(wxID_UNDO, CScriptPane::OnUpdateEditUndo)
    EVT_UPDATE_UI(wxID_CUT, CScriptPane::OnUpdateAlwaysEnabled)
    EVT_UPDATE_UI(wxID_PASTE, CScriptPane::OnUpdateEditPaste)
wxEND_EVENT_TABLE()

CScriptPane::~CScriptPane() {
    if (wxStyledTextCtrl* control = GetControl()) {
        control->Unbind(wxEVT_STC_SAVEPOINTLEFT, &CScriptPane::OnTextChanged, this);
        control->Unbind(wxEVT_STC_MODIFIED, &CScriptPane::OnModified, this);
        control->Unbind(wxEVT_STC_DWELLSTART, &CScriptPane::OnDwellStart, this);
        control->Unbind(wxEVT_STC_DWELLEND, &CScriptPane::OnDwellEnd, this);
        control->Unbind(wxEVT_STC_CHARADDED, &CScriptPane::OnCharAdded, this);
        control->Unbind(wxEVT_STC_AUTOCOMP_SELECTION, &CScriptPane::OnCompletionChosen, this);
        control->Unbind(wxEVT_KEY_DOWN, &CScriptPane::OnKeyDown, this);
        control->Unbind(wxEVT_STC_UPDATEUI, &CScriptPane::OnUpdateUi, this);
    }
}

void CScriptPane::ConfigureControl() {
    wxStyledTextCtrl& control = *GetControl();
    // A change is seen as the text leaving its save point, which is set
    // whenever the document counts as unmodified. Modification events would
    // carry a converted copy of every inserted text, which costs dearly for
    // large scripts.
    control.SetModEventMask(0);
    control.Bind(wxEVT_STC_SAVEPOINTLEFT, &CScriptPane::OnTextChanged, this);
    control.Bind(wxEVT_STC_MODIFIED, &CScriptPane::OnModified, this);

    // The run marks' margin, left of the text, and its three symbols.
    control.SetMarginType(kMarkMargin, wxSTC_MARGIN_SYMBOL);
    control.SetMarginMask(kMarkMargin, kMarkMask);
    control.SetMarginWidth(kMarkMargin, 0);
    control.MarkerDefine(kMarkSucceeded, wxSTC_MARK_CIRCLE, wxColour(0x1E, 0x6B, 0x1E), wxColour(0x3C, 0xB0, 0x43));
    control.MarkerDefine(kMarkFailed, wxSTC_MARK_CHARACTER + '!', wxColour(0xB0, 0x00, 0x00), wxColour(0xFF, 0xFF, 0xFF));
    control.MarkerDefine(kMarkStopped, wxSTC_MARK_SMALLRECT, wxColour(0x80, 0x80, 0x80), wxColour(0xC0, 0xC0, 0xC0));
    control.SetMouseDwellTime(400);
    control.Bind(wxEVT_STC_DWELLSTART, &CScriptPane::OnDwellStart, this);
    control.Bind(wxEVT_STC_DWELLEND, &CScriptPane::OnDwellEnd, this);
    control.IndicatorSetStyle(kErrorIndicator, wxSTC_INDIC_SQUIGGLE);
    control.IndicatorSetForeground(kErrorIndicator, wxColour(0xD0, 0x00, 0x00));

    // Completion: names may hold blanks, so entries are separated by line
    // feeds; the list is matched ignoring case and inserts the name as the
    // database spells it.
    control.AutoCompSetSeparator('\n');
    control.AutoCompSetIgnoreCase(true);
    control.AutoCompSetMaxHeight(12);
    control.Bind(wxEVT_STC_CHARADDED, &CScriptPane::OnCharAdded, this);
    control.Bind(wxEVT_STC_AUTOCOMP_SELECTION, &CScriptPane::OnCompletionChosen, this);
    control.Bind(wxEVT_KEY_DOWN, &CScriptPane::OnKeyDown, this);

    control.Bind(wxEVT_STC_UPDATEUI, &CScriptPane::OnUpdateUi, this);
    SetCommentSyntax(CommentSyntax{});
}

void CScriptPane::SetCommentSyntax(const CommentSyntax& syntax) {
    if (GetControl() == nullptr) return;
    if (LexerKnowsComments(syntax)) {
        Styler().SetLexer(wxSTC_LEX_SQL, SqlKeywordList());
    } else {
        Styler().SetClassifier([syntax](std::string_view text, unsigned char* classes) { ClassifySql(text, syntax, classes); });
    }
}

std::vector<std::pair<int, Rgb>> CScriptPane::ClassColours(const PanePalette& palette) const {
    return {{wxSTC_SQL_COMMENT, palette.comment},        {wxSTC_SQL_COMMENTLINE, palette.comment},
            {wxSTC_SQL_COMMENTDOC, palette.comment},     {wxSTC_SQL_COMMENTLINEDOC, palette.comment},
            {wxSTC_SQL_NUMBER, palette.number},          {wxSTC_SQL_WORD, palette.keyword},
            {wxSTC_SQL_STRING, palette.quotedName},      {wxSTC_SQL_QUOTEDIDENTIFIER, palette.quotedName},
            {wxSTC_SQL_CHARACTER, palette.string},       {wxSTC_SQL_OPERATOR, palette.operatorSign}};
}

void CScriptPane::OnUpdateUi(wxStyledTextEvent& event) {
    event.Skip();
    wxStyledTextCtrl* control = GetControl();
    if (control == nullptr) return;
    const int caret = control->GetCurrentPos();
    const auto isBrace = [control](int pos) {
        const int c = pos >= 0 && pos < control->GetTextLength() ? control->GetCharAt(pos) : 0;
        return c == '(' || c == ')';
    };
    // The parenthesis after the caret, else the one before it.
    const int brace = isBrace(caret) ? caret : isBrace(caret - 1) ? caret - 1 : -1;
    if (brace < 0) {
        control->BraceHighlight(wxSTC_INVALID_POSITION, wxSTC_INVALID_POSITION);
        return;
    }
    const int match = control->BraceMatch(brace);
    if (match == wxSTC_INVALID_POSITION) {
        control->BraceBadLight(brace);
    } else {
        control->BraceHighlight(brace, match);
    }
}

void CScriptPane::ShowCompletion(bool onRequest) {
    wxStyledTextCtrl* control = GetControl();
    if (control == nullptr || m_pCompletion == nullptr || control->GetReadOnly()) return;
    const auto caret = static_cast<std::size_t>(control->GetCurrentPos());
    const auto offer = m_pCompletion->OfferAt(GetText(), caret, onRequest);
    if (!offer) return;
    std::string items;
    for (const std::string& name : offer->names) items.append(name).push_back('\n');
    items.pop_back();
    control->AutoCompShow(static_cast<int>(offer->typedLength), wxString::FromUTF8(items.data(), items.size()));
    m_bCompletionPartial = offer->more;
}

// Typing shows the list by itself only after a "." or the third letter of
// a name; the whole text is read only then.
void CScriptPane::OnCharAdded(wxStyledTextEvent& event) {
    event.Skip();
    wxStyledTextCtrl* control = GetControl();
    if (control == nullptr || m_pCompletion == nullptr) return;
    // A list that holds only part of the names is asked for anew as the
    // name grows; a whole one the control narrows by itself.
    if (control->AutoCompActive()) {
        if (m_bCompletionPartial) ShowCompletion(true);
        return;
    }
    const int caret = control->GetCurrentPos();
    if (event.GetKey() == '.' || caret - control->WordStartPosition(caret, true) == 3) ShowCompletion(false);
}

void CScriptPane::OnCompletionChosen(wxStyledTextEvent& event) {
    // The entry that says the catalog is still being read inserts nothing.
    if (event.GetText() == CompletionOffer::kLoadingEntry) {
        if (wxStyledTextCtrl* control = GetControl()) control->AutoCompCancel();
        return;
    }
    event.Skip();
}

void CScriptPane::OnKeyDown(wxKeyEvent& event) {
    if (event.GetKeyCode() == WXK_SPACE && event.GetModifiers() == wxMOD_CONTROL && m_pCompletion != nullptr) {
        ShowCompletion(true);
        return;
    }
    // A shorter name may have more names than a partial list holds.
    wxStyledTextCtrl* control = GetControl();
    if (event.GetKeyCode() == WXK_BACK && m_bCompletionPartial && control != nullptr && control->AutoCompActive())
        CallAfter([this] {
            if (GetControl() != nullptr && GetControl()->AutoCompActive()) ShowCompletion(true);
        });
    event.Skip();
}

void CScriptPane::SetEditListener(EditListener listener) {
    m_editListener = std::move(listener);
    if (wxStyledTextCtrl* control = GetControl())
        control->SetModEventMask((control->GetModEventMask() & wxSTC_MOD_CHANGESTYLE) |
                                 (m_editListener ? wxSTC_MOD_INSERTTEXT | wxSTC_MOD_DELETETEXT : 0));
}

void CScriptPane::OnModified(wxStyledTextEvent& event) {
    event.Skip();
    if (!m_editListener) return;
    const int type = event.GetModificationType();
    if ((type & (wxSTC_MOD_INSERTTEXT | wxSTC_MOD_DELETETEXT)) == 0) return;
    m_editListener((type & wxSTC_MOD_INSERTTEXT) != 0, static_cast<std::size_t>(event.GetPosition()),
                   static_cast<std::size_t>(event.GetLength()));
}

void CScriptPane::ShowRunMarks(const CRunMap& map) {
    wxStyledTextCtrl* control = GetControl();
    if (control == nullptr) return;
    for (const int marker : {kMarkSucceeded, kMarkFailed, kMarkStopped}) control->MarkerDeleteAll(marker);
    m_markMessages.clear();
    control->SetIndicatorCurrent(kErrorIndicator);
    control->IndicatorClearRange(0, control->GetTextLength());
    control->SetMarginWidth(kMarkMargin, 0);
    for (const CRunMap::Statement& s : map.Statements())
        if (!s.edited) AddRunMark(s);
}

void CScriptPane::AddRunMark(const CRunMap::Statement& s) {
    wxStyledTextCtrl* control = GetControl();
    if (control == nullptr) return;
    const int marker = s.outcome == CRunMap::Outcome::Succeeded ? kMarkSucceeded
                       : s.outcome == CRunMap::Outcome::Failed  ? kMarkFailed
                                                                 : kMarkStopped;
    const int handle = control->MarkerAdd(control->LineFromPosition(static_cast<int>(s.scriptBegin)), marker);
    if (marker == kMarkFailed) m_markMessages.emplace_back(handle, s.message);
    if (s.errorEnd > s.errorBegin) {
        control->SetIndicatorCurrent(kErrorIndicator);
        control->IndicatorFillRange(static_cast<int>(s.errorBegin), static_cast<int>(s.errorEnd - s.errorBegin));
    }
    if (control->GetMarginWidth(kMarkMargin) == 0)
        control->SetMarginWidth(kMarkMargin, control->TextWidth(wxSTC_STYLE_LINENUMBER, "WW"));
}

void CScriptPane::SetSavePoint() {
    if (wxStyledTextCtrl* control = GetControl()) control->SetSavePoint();
}

void CScriptPane::OnUpdate(wxView* /*sender*/, wxObject* /*hint*/) {
    auto* script = wxDynamicCast(GetDocument(), CScript);
    wxStyledTextCtrl* control = GetControl();
    if (script == nullptr || control == nullptr) return;
    {
        FlagScope taking(m_bTakingDocumentText);
        SetText(script->ScriptText(), false);
    }
    control->SetEOLMode(EolModeOf(script->ScriptText()));
    // Undo cannot bring back the text of another script.
    control->EmptyUndoBuffer();
    script->Modify(false);
}

void CScriptPane::OnTextChanged(wxStyledTextEvent& /*event*/) {
    if (!m_bTakingDocumentText && GetDocument() != nullptr) GetDocument()->Modify(true);
}

void CScriptPane::OnEditUndo(wxCommandEvent& /*event*/) {
    if (wxStyledTextCtrl* control = GetControl()) control->Undo();
}

void CScriptPane::OnEditCut(wxCommandEvent& /*event*/) {
    if (wxStyledTextCtrl* control = GetControl()) control->Cut();
}

void CScriptPane::OnEditPaste(wxCommandEvent& /*event*/) {
    if (wxStyledTextCtrl* control = GetControl()) control->Paste();
}

void CScriptPane::OnUpdateEditUndo(wxUpdateUIEvent& event) {
    const wxStyledTextCtrl* control = GetControl();
    event.Enable(control != nullptr && control->CanUndo());
}

void CScriptPane::OnUpdateEditPaste(wxUpdateUIEvent& event) {
    const wxStyledTextCtrl* control = GetControl();
    event.Enable(control != nullptr && control->CanPaste());
}

// The pointer rests: on a failed statement's mark, its message comes up.
void CScriptPane::OnDwellStart(wxStyledTextEvent& event) {
    event.Skip();
    wxStyledTextCtrl* control = GetControl();
    if (control == nullptr || m_markMessages.empty()) return;
    int margins = 0;
    for (int margin = 0; margin <= kMarkMargin; ++margin) margins += control->GetMarginWidth(margin);
    if (event.GetX() < margins - control->GetMarginWidth(kMarkMargin) || event.GetX() >= margins) return;
    const int line = control->GetFirstVisibleLine() + event.GetY() / std::max(1, control->TextHeight(0));
    for (const auto& [handle, message] : m_markMessages) {
        if (control->MarkerLineFromHandle(handle) != line) continue;
        control->CallTipShow(control->PositionFromLine(line), wxString::FromUTF8(message.data(), message.size()));
        return;
    }
}

void CScriptPane::OnDwellEnd(wxStyledTextEvent& event) {
    event.Skip();
    if (wxStyledTextCtrl* control = GetControl(); control != nullptr && control->CallTipActive()) control->CallTipCancel();
}
