#pragma once

#include "db/db_exception.h"

#include <gtest/gtest.h>

#include <functional>

// Runs action, which must throw CDBException, and returns what it threw.
inline CDBException DbErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const CDBException& error) {
        return error;
    }
    ADD_FAILURE() << "no CDBException was thrown";
    return CDBException(DiagRecord{false, "", ""});
}
