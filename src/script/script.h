#pragma once

#include "exec/statement_source.h"
#include "recovery/watched_file.h"
#include "script/statement_reader.h"

#include <wx/docview.h>

#include <functional>
#include <string>

class CScriptPane;
class CSettingsRecord;

// The script document: one script, held as bytes. Files are read and written
// whole, byte for byte (NUL bytes included). While the user edits, the text
// lives in the script pane; the document's copy is a snapshot taken when a
// file is read, when the script is saved and when a run resets the reader.
class CScript : public wxDocument, public CStatementSource {
public:
    CScript() = default;
    CScript(const CScript&) = delete;
    CScript& operator=(const CScript&) = delete;

    // The settings record whose comment settings the reader uses, read at
    // each ResetReader; none (the default) means the default delimiters with
    // comments kept. The frame sets it to its own record once the document
    // exists, and for every document object the manager makes.
    void SetSettings(const CSettingsRecord* settings) { m_pSettings = settings; }

    // Replaces the snapshot by the script pane's whole text (kept as it is
    // when there is no script pane).
    void GetTextFromPane();
    // A copy of the pane's text as it stands (the snapshot when there is no
    // pane); the snapshot stays as it is, also during a run.
    std::string PaneText();

    // Told whenever the modified flag changes (the frame keeps the recovery
    // file by it); none to stop.
    void SetModifiedListener(std::function<void(bool modified)> listener) { m_onModified = std::move(listener); }

    // Puts a recovered text in as a modified script: with its file when path
    // is not empty (Save then writes there), else untitled.
    void Recover(const std::string& text, const std::string& path);
    // When the script is unmodified and another program has changed its
    // file, asks once per change whether to reload it, and does on Yes.
    void OfferReload();

    // CStatementSource: the pane's text becomes the snapshot and the reader
    // starts at its beginning; statements end at the first NUL byte.
    void ResetReader() override;
    bool GetNextStatement(std::string& statement) override;
    const std::string& ScriptText() const override { return m_pszText; }
    StatementSpan LastSpan() const override { return m_reader.LastSpan(); }

    // wxDocument
    // Clearing the modified flag also tells the script pane that its text as
    // it stands is unchanged, so that its next change sets the flag again.
    void Modify(bool modified) override;
    bool DeleteContents() override;
    bool OnNewDocument() override;
    // Asks "Save changes to <title>?" (Yes, No, Cancel) when the script is
    // modified; false when the user cancels or the save fails (or is
    // declined because another program changed the file).
    bool OnSaveModified() override;
    // Save As, also for Save and Yes at the prompt when the script has no
    // file yet: ".sql" is added to a name typed without an extension.
    bool SaveAs() override;

protected:
    // Read or write the file whole. A failure is shown in a message box that
    // names the file, and nothing of the document or the pane is lost.
    // Saving over the file the script came from asks first when another
    // program has changed or removed it since it was read or saved; No
    // keeps that file and the script as they are.
    bool DoOpenDocument(const wxString& file) override;
    bool DoSaveDocument(const wxString& file) override;

private:
    CScriptPane* FindScriptPane();
    void ShowFileError(const std::string& message);

    std::string m_pszText;
    CStatementReader m_reader;
    const CSettingsRecord* m_pSettings = nullptr;
    CWatchedFile m_file;
    std::function<void(bool)> m_onModified;

    wxDECLARE_DYNAMIC_CLASS(CScript);
};
