#include "script/statement_reader.h"

#include <algorithm>
#include <cstring>
#include <utility>

// An empty delimiter (possible only in a profile edited by hand; the
// preferences refuse one) never matches: an empty single-line or start
// delimiter opens no comment, and an empty end delimiter never closes one, so
// such a comment runs to the end of the text. The reader thus always moves
// forward and always ends.

void CStatementReader::Reset(std::string_view text, CommentSyntax syntax) {
    const std::size_t nul = text.find('\0');
    if (nul != std::string_view::npos) text = text.substr(0, nul);
    m_pszText = m_pszCursor = text.data();
    m_pszEnd = text.data() + text.size();
    m_span = {};
    m_syntax = std::move(syntax);
}

bool CStatementReader::StartsWith(std::string_view delimiter) const {
    return !delimiter.empty() && static_cast<std::size_t>(m_pszEnd - m_pszCursor) >= delimiter.size() &&
           std::memcmp(m_pszCursor, delimiter.data(), delimiter.size()) == 0;
}

bool CStatementReader::GetNextStatement(std::string& statement) {
    if (m_pszCursor == m_pszEnd) return false;
    statement.clear();
    m_span.begin = static_cast<std::size_t>(m_pszCursor - m_pszText);
    m_span.content = std::string::npos;

    // Bytes at which a string, a comment or the separator may begin; any other
    // byte is ordinary, and a run of them is copied at once.
    bool special[256] = {};
    special[static_cast<unsigned char>('\'')] = true;
    special[static_cast<unsigned char>(';')] = true;
    if (!m_syntax.singleLine.empty()) special[static_cast<unsigned char>(m_syntax.singleLine[0])] = true;
    if (!m_syntax.multiStart.empty()) special[static_cast<unsigned char>(m_syntax.multiStart[0])] = true;

    for (;;) {
        while (SkipQuotedOrComment(statement)) {
        }
        if (m_pszCursor == m_pszEnd || *m_pszCursor == ';') {
            m_span.end = static_cast<std::size_t>(m_pszCursor - m_pszText);
            if (m_span.content == std::string::npos) m_span.content = m_span.end;
            if (m_pszCursor != m_pszEnd) ++m_pszCursor;
            return true;
        }
        const char* run = m_pszCursor + 1;
        while (run != m_pszEnd && !special[static_cast<unsigned char>(*run)]) ++run;
        NoteContent(m_pszCursor, run);
        statement.append(m_pszCursor, run);
        m_pszCursor = run;
    }
}

// The statement's content begins at the first byte of from..to that is not
// blank (the C isspace set), unless it began before.
void CStatementReader::NoteContent(const char* from, const char* to) {
    if (m_span.content != std::string::npos) return;
    const char* first = std::find_if(from, to, [](char c) { return !(c == ' ' || (c >= '\t' && c <= '\r')); });
    if (first != to) m_span.content = static_cast<std::size_t>(first - m_pszText);
}

// Consumes at most one quoted string or one comment at the cursor. True when
// one was consumed and closed; false when nothing matched (cursor unmoved) or
// when the string or comment ran to the end of the text.
bool CStatementReader::SkipQuotedOrComment(std::string& statement) {
    if (m_pszCursor == m_pszEnd) return false;
    const bool keep = !m_syntax.removeComments;

    if (*m_pszCursor == '\'') {
        NoteContent(m_pszCursor, m_pszCursor + 1);
        const char* close = std::find(m_pszCursor + 1, m_pszEnd, '\'');
        statement.append(m_pszCursor, close);
        m_pszCursor = close;
        if (close == m_pszEnd) return false;
        statement += '\'';
        ++m_pszCursor;
        return true;
    }

    if (StartsWith(m_syntax.singleLine)) {
        const char* body = m_pszCursor + m_syntax.singleLine.size();
        const char* eol = std::find_if(body, m_pszEnd, [](char c) { return c == '\r' || c == '\n'; });
        if (keep) statement.append(m_pszCursor, eol);
        m_pszCursor = eol;
        if (eol == m_pszEnd) return false;
        // A "\r" ends the comment and the byte after it is taken as the "\n"
        // of the pair. Whatever that byte is, it belongs to the comment's line
        // end: copied as it stands when comments are kept, left out with the
        // comment otherwise; even a ";" there does not separate. A "\r" as the
        // last byte ends the text too. A "\n" on its own (a script file with
        // Unix line ends, kept as it is in the pane) is a whole line end:
        // without that, the comment would swallow the rest of the script.
        const std::ptrdiff_t lineEndSize = *eol == '\n' ? 1 : 2;
        const char* lineEnd = m_pszEnd - eol >= lineEndSize ? eol + lineEndSize : m_pszEnd;
        if (keep) statement.append(eol, lineEnd);
        m_pszCursor = lineEnd;
        return true;
    }

    if (StartsWith(m_syntax.multiStart)) {
        // The end is searched after the whole start delimiter, so the two
        // never overlap ("/*/" opens a comment without closing it).
        const char* body = m_pszCursor + m_syntax.multiStart.size();
        const std::string_view rest(body, static_cast<std::size_t>(m_pszEnd - body));
        const std::size_t endAt = m_syntax.multiEnd.empty() ? std::string_view::npos : rest.find(m_syntax.multiEnd);
        const char* close = endAt == std::string_view::npos ? m_pszEnd : body + endAt + m_syntax.multiEnd.size();
        if (keep) statement.append(m_pszCursor, close);
        m_pszCursor = close;
        return endAt != std::string_view::npos;
    }

    return false;
}
