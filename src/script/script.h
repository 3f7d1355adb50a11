#pragma once

#include "exec/statement_source.h"
#include "script/statement_reader.h"

#include <wx/docview.h>

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
    // modified; false when the user cancels or the save fails.
    bool OnSaveModified() override;
    // Save As, also for Save and Yes at the prompt when the script has no
    // file yet: ".sql" is added to a name typed without an extension.
    bool SaveAs() override;

protected:
    // Read or write the file whole. A failure is shown in a message box that
    // names the file, and nothing of the document or the pane is lost.
    bool DoOpenDocument(const wxString& file) override;
    bool DoSaveDocument(const wxString& file) override;

private:
    CScriptPane* FindScriptPane();
    void ShowFileError(const std::string& message);

    std::string m_pszText;
    CStatementReader m_reader;
    const CSettingsRecord* m_pSettings = nullptr;

    wxDECLARE_DYNAMIC_CLASS(CScript);
};
