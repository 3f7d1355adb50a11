#include "odbc_call_log.h"

#include <dlfcn.h>

#include <map>
#include <stdexcept>
#include <utility>

namespace odbc_log {
namespace {

std::vector<Call> g_calls;
std::set<SQLHANDLE> g_live;
std::map<std::string, SQLRETURN> g_failures;

// The driver manager's own definition of a function this file stands in for.
// The link may drop the driver manager library (every function the program
// calls is defined here), so it is loaded by name.
template <typename Function>
Function Real(const char* name) {
    static void* const library = dlopen("libodbc.so.2", RTLD_NOW | RTLD_GLOBAL);
    if (library == nullptr) throw std::runtime_error(std::string("cannot load the driver manager: ") + dlerror());
    void* symbol = dlsym(library, name);
    if (symbol == nullptr) throw std::runtime_error(std::string("no driver manager function ") + name);
    return reinterpret_cast<Function>(symbol);
}

// Runs the real call unless a failure was injected for it, and records it.
template <typename Forward>
SQLRETURN Record(const char* name, SQLHANDLE handle, std::vector<long long> arguments, Forward forward) {
    SQLRETURN result;
    if (auto injected = g_failures.find(name); injected != g_failures.end()) {
        result = injected->second;
        g_failures.erase(injected);
    } else {
        result = forward();
    }
    g_calls.push_back(Call{name, handle, std::move(arguments), result});
    return result;
}

template <typename Forward>
SQLRETURN Allocate(const char* name, SQLHANDLE input, SQLHANDLE* output, Forward forward) {
    const SQLRETURN result = Record(name, input, {}, forward);
    if (SQL_SUCCEEDED(result)) g_live.insert(*output);
    return result;
}

template <typename Forward>
SQLRETURN Free(const char* name, SQLHANDLE handle, std::vector<long long> arguments, Forward forward) {
    const SQLRETURN result = Record(name, handle, std::move(arguments), forward);
    if (SQL_SUCCEEDED(result)) g_live.erase(handle);
    return result;
}

}  // namespace

void Clear() {
    g_calls.clear();
    g_failures.clear();
}

const std::vector<Call>& Calls() { return g_calls; }

std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (const Call& call : g_calls) names.push_back(call.name);
    return names;
}

std::vector<Call> CallsOf(const std::string& name) {
    std::vector<Call> calls;
    for (const Call& call : g_calls)
        if (call.name == name) calls.push_back(call);
    return calls;
}

std::set<SQLHANDLE> LiveHandles() { return g_live; }

void FailNext(const std::string& name, SQLRETURN result) { g_failures[name] = result; }

}  // namespace odbc_log

using odbc_log::Allocate;
using odbc_log::Free;
using odbc_log::Real;
using odbc_log::Record;

#define REAL(function) static const auto real = Real<decltype(&function)>(#function)

// The numeric arguments recorded, in the order of the call's parameters;
// strings and output places are left out.

SQLRETURN SQL_API SQLAllocEnv(SQLHENV* henv) {
    REAL(SQLAllocEnv);
    return Allocate("SQLAllocEnv", SQL_NULL_HANDLE, henv, [&] { return real(henv); });
}

SQLRETURN SQL_API SQLAllocConnect(SQLHENV henv, SQLHDBC* hdbc) {
    REAL(SQLAllocConnect);
    return Allocate("SQLAllocConnect", henv, hdbc, [&] { return real(henv, hdbc); });
}

SQLRETURN SQL_API SQLAllocStmt(SQLHDBC hdbc, SQLHSTMT* hstmt) {
    REAL(SQLAllocStmt);
    return Allocate("SQLAllocStmt", hdbc, hstmt, [&] { return real(hdbc, hstmt); });
}

SQLRETURN SQL_API SQLFreeEnv(SQLHENV henv) {
    REAL(SQLFreeEnv);
    return Free("SQLFreeEnv", henv, {}, [&] { return real(henv); });
}

SQLRETURN SQL_API SQLFreeConnect(SQLHDBC hdbc) {
    REAL(SQLFreeConnect);
    return Free("SQLFreeConnect", hdbc, {}, [&] { return real(hdbc); });
}

SQLRETURN SQL_API SQLFreeStmt(SQLHSTMT hstmt, SQLUSMALLINT option) {
    REAL(SQLFreeStmt);
    if (option != SQL_DROP) return Record("SQLFreeStmt", hstmt, {option}, [&] { return real(hstmt, option); });
    return Free("SQLFreeStmt", hstmt, {option}, [&] { return real(hstmt, option); });
}

SQLRETURN SQL_API SQLConnect(SQLHDBC hdbc, SQLCHAR* dsn, SQLSMALLINT dsnLength, SQLCHAR* user,
                             SQLSMALLINT userLength, SQLCHAR* password, SQLSMALLINT passwordLength) {
    REAL(SQLConnect);
    return Record("SQLConnect", hdbc, {dsnLength, userLength, passwordLength},
                  [&] { return real(hdbc, dsn, dsnLength, user, userLength, password, passwordLength); });
}

SQLRETURN SQL_API SQLDisconnect(SQLHDBC hdbc) {
    REAL(SQLDisconnect);
    return Record("SQLDisconnect", hdbc, {}, [&] { return real(hdbc); });
}

SQLRETURN SQL_API SQLExecDirect(SQLHSTMT hstmt, SQLCHAR* text, SQLINTEGER length) {
    REAL(SQLExecDirect);
    return Record("SQLExecDirect", hstmt, {length}, [&] { return real(hstmt, text, length); });
}

SQLRETURN SQL_API SQLNumResultCols(SQLHSTMT hstmt, SQLSMALLINT* columns) {
    REAL(SQLNumResultCols);
    return Record("SQLNumResultCols", hstmt, {}, [&] { return real(hstmt, columns); });
}

SQLRETURN SQL_API SQLDescribeCol(SQLHSTMT hstmt, SQLUSMALLINT column, SQLCHAR* name, SQLSMALLINT nameSize,
                                 SQLSMALLINT* nameLength, SQLSMALLINT* dataType, SQLULEN* columnSize,
                                 SQLSMALLINT* decimalDigits, SQLSMALLINT* nullable) {
    REAL(SQLDescribeCol);
    return Record("SQLDescribeCol", hstmt, {column, nameSize}, [&] {
        return real(hstmt, column, name, nameSize, nameLength, dataType, columnSize, decimalDigits, nullable);
    });
}

SQLRETURN SQL_API SQLBindCol(SQLHSTMT hstmt, SQLUSMALLINT column, SQLSMALLINT type, SQLPOINTER buffer,
                             SQLLEN bufferSize, SQLLEN* indicator) {
    REAL(SQLBindCol);
    return Record("SQLBindCol", hstmt, {column, type, bufferSize}, [&] { return real(hstmt, column, type, buffer, bufferSize, indicator); });
}

SQLRETURN SQL_API SQLFetch(SQLHSTMT hstmt) {
    REAL(SQLFetch);
    return Record("SQLFetch", hstmt, {}, [&] { return real(hstmt); });
}

SQLRETURN SQL_API SQLGetDiagRec(SQLSMALLINT handleType, SQLHANDLE handle, SQLSMALLINT record, SQLCHAR* state,
                                SQLINTEGER* nativeError, SQLCHAR* text, SQLSMALLINT textSize,
                                SQLSMALLINT* textLength) {
    REAL(SQLGetDiagRec);
    return Record("SQLGetDiagRec", handle, {handleType, record, textSize}, [&] {
        return real(handleType, handle, record, state, nativeError, text, textSize, textLength);
    });
}
