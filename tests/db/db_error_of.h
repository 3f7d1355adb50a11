#pragma once

#include "db/db_exception.h"

#include <gtest/gtest.h>

#include <string>

// The message of an exception whose handle held no readable record.
inline const std::string kReadFailed = "\r\nError: SQLGetDiagRec failed\r\n";

// Runs action, which must throw CDBException, and returns the exception's
// message (empty, with a test failure, when nothing or something else was
// thrown).
template <typename Action>
std::string DbErrorOf(Action&& action) {
    try {
        action();
    } catch (const CDBException& error) {
        return error.Message();
    }
    ADD_FAILURE() << "no CDBException was thrown";
    return {};
}
