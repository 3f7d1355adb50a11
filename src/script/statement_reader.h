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

private:
    bool SkipQuotedOrComment(std::string& statement);
    bool StartsWith(std::string_view delimiter) const;

    const char* m_pszCursor = nullptr;
    const char* m_pszEnd = nullptr;
    CommentSyntax m_syntax;
};
