#pragma once

#include <sql.h>
#include <sqlext.h>

#include <set>
#include <string>
#include <vector>

// A seam between the database layer and the driver manager, for tests only.
// The test program defines the ODBC functions the layer calls; each records
// the call and forwards it to the real driver manager, unless a test asked
// for that call to fail. Only calls made by this program's own code pass
// through here (the drivers and the driver manager call each other directly).
namespace odbc_log {

struct Call {
    std::string name;      // "SQLExecDirect"
    SQLHANDLE handle;      // the handle the call works on (the input one for allocations)
    std::vector<long long> arguments;  // the call's numeric arguments, see odbc_call_log.cpp
    SQLRETURN result;
};

// Forgets the calls recorded so far and every injected failure.
void Clear();
const std::vector<Call>& Calls();
// The names of the recorded calls, in order.
std::vector<std::string> Names();
// The recorded calls of one name.
std::vector<Call> CallsOf(const std::string& name);

// Handles allocated through the seam and not freed yet (environment,
// connection and statement handles alike).
std::set<SQLHANDLE> LiveHandles();

// The next call of that name returns result without reaching the driver
// manager (an allocation leaves its output handle untouched).
void FailNext(const std::string& name, SQLRETURN result);

}  // namespace odbc_log
