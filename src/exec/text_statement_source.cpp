#include "exec/text_statement_source.h"

CTextStatementSource::CTextStatementSource(std::string text, CommentSyntax syntax)
    : m_strText(std::move(text)), m_syntax(std::move(syntax)) {
    m_reader.Reset(m_strSnapshot, m_syntax);
}

void CTextStatementSource::ResetReader() {
    m_strSnapshot = m_strText;
    m_reader.Reset(m_strSnapshot, m_syntax);
}

bool CTextStatementSource::GetNextStatement(std::string& statement) { return m_reader.GetNextStatement(statement); }
