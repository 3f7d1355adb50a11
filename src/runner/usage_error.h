#pragma once

#include "common/exception.h"

#include <string>

// A command line that cannot be run: an unknown option, a missing or bad
// value. The message is one line without the program name.
class CUsageError : public CException {
public:
    explicit CUsageError(std::string message) : CException(std::move(message)) {}
};
