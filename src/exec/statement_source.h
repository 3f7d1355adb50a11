#pragma once

#include "script/statement_reader.h"

#include <string>

// The script a run walks through: the worksheet's document, or a file or
// standard input for the command-line runner.
class CStatementSource {
public:
    virtual ~CStatementSource() = default;
    // Takes a fresh snapshot of the script text and puts the reader at its start.
    virtual void ResetReader() = 0;
    // The next statement (without its ';'), or false when the text is used up.
    virtual bool GetNextStatement(std::string& statement) = 0;
    // The snapshot taken by the last ResetReader (it becomes the history entry).
    virtual const std::string& ScriptText() const = 0;
    // Where the statement handed out last stands in ScriptText().
    virtual StatementSpan LastSpan() const = 0;
};
