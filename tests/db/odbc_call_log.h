#pragma once

#include <sql.h>
#include <sqlext.h>

#include <string>

// A seam between the database layer and the driver manager, for tests only.
// The test program defines the allocation, free and execute functions the
// layer calls; each records the call and forwards it to the real driver
// manager, unless a test asked for that call to fail.
namespace odbc_log {

// Forgets the calls recorded so far and every injected failure.
void Clear();

// How many calls of that name were made.
std::size_t CallCount(const std::string& name);

// How many handles were allocated through the seam and not freed yet
// (environment, connection and statement handles alike).
std::size_t LiveHandles();

// The next call of that name returns result without reaching the driver
// manager (an allocation leaves its output handle untouched).
void FailNext(const std::string& name, SQLRETURN result);

}  // namespace odbc_log
