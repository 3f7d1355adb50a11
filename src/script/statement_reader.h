#pragma once

#include <string>
#include <string_view>

// The comment delimiters and the RemoveComments setting the reader works with.
struct CommentSyntax {
    std::string singleLine = "--";
    std::string multiStart = "/*";
    std::string multiEnd = "*/";
    bool removeComments = false;
};

// Where a statement stands in the text the reader was given, as byte offsets:
// from where the reader began it (after the previous ";"), its first byte that
// is neither blank nor part of a comment (end when there is none), and its
// end (the ";" or the end of the text).
struct StatementSpan {
    std::size_t begin = 0;
    std::size_t content = 0;
    std::size_t end = 0;
    bool IsBlank() const noexcept { return content == end; }
};

// Cuts a script into statements at semicolons, respecting single-quoted
// strings and comments. The text is examined byte by byte and ends at its
// first NUL byte (or at its end); the reader never reads beyond that.
class CStatementReader {
public:
    // Puts the reader at the start of text. The text must outlive the reading.
    void Reset(std::string_view text, CommentSyntax syntax);

    // True with the next statement (without its ';'), false when the text is
    // used up; then statement keeps its old contents.
    bool GetNextStatement(std::string& statement);
    // Where the statement handed out last stands in the text.
    const StatementSpan& LastSpan() const noexcept { return m_span; }

private:
    void NoteContent(const char* from, const char* to);

    bool SkipQuotedOrComment(std::string& statement);
    bool StartsWith(std::string_view delimiter) const;

    const char* m_pszText = nullptr;
    const char* m_pszCursor = nullptr;
    const char* m_pszEnd = nullptr;
    StatementSpan m_span;
    CommentSyntax m_syntax;
};
