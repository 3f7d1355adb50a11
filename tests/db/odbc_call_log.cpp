#include "odbc_call_log.h"

#include <dlfcn.h>

#include <algorithm>
#include <map>
#include <stdexcept>
#include <vector>

namespace odbc_log {
namespace {

std::vector<std::string> g_calls;
std::set<SQLHANDLE> g_live;
std::map<std::string, SQLRETURN> g_failures;

// The driver manager's own definition of a function this file stands in for.
template <typename Function>
Function Real(const char* name) {
    static void* const library = dlopen("libodbc.so.2", RTLD_NOW | RTLD_GLOBAL);
    if (library == nullptr) throw std::runtime_error(std::string("cannot load the driver manager: ") + dlerror());
    void* symbol = dlsym(library, name);
    if (symbol == nullptr) throw std::runtime_error(std::string("no driver manager function ") + name);
    return reinterpret_cast<Function>(symbol);
}

// Runs the real call unless a failure was injected for it, and records it.
// An allocation that succeeded adds its output handle to the live ones, a
// free that succeeded removes its handle.
template <typename Forward>
SQLRETURN Record(const char* name, Forward forward, SQLHANDLE* allocated = nullptr, SQLHANDLE freed = nullptr) {
    SQLRETURN result;
    if (auto injected = g_failures.find(name); injected != g_failures.end()) {
        result = injected->second;
        g_failures.erase(injected);
    } else {
        result = forward();
    }
    g_calls.emplace_back(name);
    if (SQL_SUCCEEDED(result) && allocated) g_live.insert(*allocated);
    if (SQL_SUCCEEDED(result) && freed) g_live.erase(freed);
    return result;
}

}  // namespace

void Clear() {
    g_calls.clear();
    g_failures.clear();
}

std::size_t CallCount(const std::string& name) {
    return static_cast<std::size_t>(std::count(g_calls.begin(), g_calls.end(), name));
}

std::set<SQLHANDLE> LiveHandles() { return g_live; }

void FailNext(const std::string& name, SQLRETURN result) { g_failures[name] = result; }

}  // namespace odbc_log

using odbc_log::Real;
using odbc_log::Record;

#define REAL(function) static const auto real = Real<decltype(&function)>(#function)

SQLRETURN SQL_API SQLAllocEnv(SQLHENV* henv) {
    REAL(SQLAllocEnv);
    return Record("SQLAllocEnv", [&] { return real(henv); }, henv);
}

SQLRETURN SQL_API SQLAllocConnect(SQLHENV henv, SQLHDBC* hdbc) {
    REAL(SQLAllocConnect);
    return Record("SQLAllocConnect", [&] { return real(henv, hdbc); }, hdbc);
}

SQLRETURN SQL_API SQLAllocStmt(SQLHDBC hdbc, SQLHSTMT* hstmt) {
    REAL(SQLAllocStmt);
    return Record("SQLAllocStmt", [&] { return real(hdbc, hstmt); }, hstmt);
}

SQLRETURN SQL_API SQLFreeEnv(SQLHENV henv) {
    REAL(SQLFreeEnv);
    return Record("SQLFreeEnv", [&] { return real(henv); }, nullptr, henv);
}

SQLRETURN SQL_API SQLFreeConnect(SQLHDBC hdbc) {
    REAL(SQLFreeConnect);
    return Record("SQLFreeConnect", [&] { return real(hdbc); }, nullptr, hdbc);
}

SQLRETURN SQL_API SQLFreeStmt(SQLHSTMT hstmt, SQLUSMALLINT option) {
    REAL(SQLFreeStmt);
    return Record("SQLFreeStmt", [&] { return real(hstmt, option); }, nullptr, option == SQL_DROP ? hstmt : nullptr);
}

SQLRETURN SQL_API SQLExecDirect(SQLHSTMT hstmt, SQLCHAR* text, SQLINTEGER length) {
    REAL(SQLExecDirect);
    return Record("SQLExecDirect", [&] { return real(hstmt, text, length); });
}

SQLRETURN SQL_API SQLNumResultCols(SQLHSTMT hstmt, SQLSMALLINT* columns) {
    REAL(SQLNumResultCols);
    return Record("SQLNumResultCols", [&] { return real(hstmt, columns); });
}
