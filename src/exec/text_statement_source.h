#pragma once

#include "exec/statement_source.h"
#include "script/statement_reader.h"

#include <string>

// A script held as text (a file or standard input for the command-line
// runner, a literal in tests), cut into statements by the statement reader.
class CTextStatementSource : public CStatementSource {
public:
    explicit CTextStatementSource(std::string text = {}, CommentSyntax syntax = {});

    // Replaces the text; the next ResetReader takes it.
    void SetText(std::string text) { m_strText = std::move(text); }

    void ResetReader() override;
    bool GetNextStatement(std::string& statement) override;
    const std::string& ScriptText() const override { return m_strSnapshot; }
    StatementSpan LastSpan() const override { return m_reader.LastSpan(); }

private:
    std::string m_strText;
    std::string m_strSnapshot;
    CommentSyntax m_syntax;
    CStatementReader m_reader;
};
