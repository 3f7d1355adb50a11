#pragma once

#include "panes/pane.h"

#include <cstddef>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "exec/run_map.h"
#include "script/statement_reader.h"

class CCompletionList;
class wxKeyEvent;
class wxStyledTextEvent;

// The lower pane: the editable text of the script document, and the view
// that the document template creates. The pane's text is the script; every
// change of it, by the user or by the program (a history entry, a
// replacement), marks the document modified. Taking the document's text
// (OnUpdate) and font changes do not.
class CScriptPane : public CPane {
public:
    CScriptPane() = default;
    ~CScriptPane() override;

    // Puts the document's whole text into the pane (every byte, also bytes
    // after a NUL), clears the undo history and marks the document not
    // modified. Runs on the document's initial update and whenever it tells
    // its views to update. Enter and Paste then make line ends like the
    // text's first one: "\n" after a bare "\n", "\r\n" otherwise.
    void OnUpdate(wxView* sender, wxObject* hint) override;

    // Takes the text as it stands as unchanged: the next change marks the
    // document modified again. The document calls it whenever its modified
    // flag is cleared.
    void SetSavePoint();

    // Tells listener of every insertion (true) and deletion of text, as its
    // position and length, until it is reset to none (edits cost nothing
    // while nobody listens).
    using EditListener = std::function<void(bool inserted, std::size_t position, std::size_t length)>;
    void SetEditListener(EditListener listener);

    // Marks the first line of every statement of the run that the script
    // still holds as it ran, in a narrow margin: a circle where it
    // succeeded, "!" where it failed, a square where it was stopped (told
    // apart by their shapes as well as their colours). Resting the pointer on
    // a failed statement's mark shows its message.
    void ShowRunMarks(const CRunMap& map);
    // Adds the mark of one more statement (as a run goes on), without
    // drawing the others again.
    void AddRunMark(const CRunMap::Statement& statement);

    // Where completion finds its names (none: no completion). Ctrl+Space
    // shows the list; typing a "." or the third letter of a name after
    // FROM, JOIN, INTO or UPDATE shows it by itself.
    void SetCompletionList(const CCompletionList* list) { m_pCompletion = list; }
    // Shows the completion list at the caret, if there is one to show.
    void ShowCompletion(bool onRequest);

    // Colours the SQL with the comment delimiters of syntax: the control's
    // own SQL lexer where they are the usual ones, otherwise a colouring
    // that knows them (strings and keywords as usual, comments as the
    // statement reader sees them).
    void SetCommentSyntax(const CommentSyntax& syntax);

protected:
    void ConfigureControl() override;
    std::vector<std::pair<int, Rgb>> ClassColours(const PanePalette& palette) const override;

    // Edit commands that only the script pane handles.
    void OnEditUndo(wxCommandEvent& event);
    void OnEditCut(wxCommandEvent& event);
    void OnEditPaste(wxCommandEvent& event);
    void OnUpdateEditUndo(wxUpdateUIEvent& event);
    void OnUpdateEditPaste(wxUpdateUIEvent& event);

private:
    void OnTextChanged(wxStyledTextEvent& event);
    void OnModified(wxStyledTextEvent& event);
    void OnDwellStart(wxStyledTextEvent& event);
    void OnDwellEnd(wxStyledTextEvent& event);
    void OnCharAdded(wxStyledTextEvent& event);
    void OnCompletionChosen(wxStyledTextEvent& event);
    void OnKeyDown(wxKeyEvent& event);
    // Highlights the parenthesis at the caret and its match.
    void OnUpdateUi(wxStyledTextEvent& event);

    EditListener m_editListener;
    const CCompletionList* m_pCompletion = nullptr;
    // The list shown holds only the first of the names (see CompletionOffer).
    bool m_bCompletionPartial = false;
    // The messages of the failed statements' marks, by the marker handle.
    std::vector<std::pair<int, std::string>> m_markMessages;

    // True while OnUpdate puts the document's text in.
    bool m_bTakingDocumentText = false;

    wxDECLARE_EVENT_TABLE();
    wxDECLARE_DYNAMIC_CLASS(CScriptPane);
};
