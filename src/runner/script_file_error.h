#pragma once

#include "common/exception.h"

#include <string>

// A script file (or standard input) that cannot be read. The message names
// the file and the system's reason, on one line.
class CScriptFileError : public CException {
public:
    explicit CScriptFileError(std::string message) : CException(std::move(message)) {}
};
