#include "script/statement_locator.h"

#include <string>

std::optional<StatementSpan> LocateStatement(std::string_view script, const CommentSyntax& syntax, std::size_t caret) {
    CStatementReader reader;
    reader.Reset(script, syntax);
    std::optional<StatementSpan> found;
    std::string statement;
    while (reader.GetNextStatement(statement)) {
        const StatementSpan& span = reader.LastSpan();
        if (span.IsBlank()) continue;
        if (found && span.content > caret) break;
        found = span;
    }
    return found;
}
