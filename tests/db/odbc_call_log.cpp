#include "odbc_call_log.h"

#include <dlfcn.h>

#include <map>
#include <set>
#include <stdexcept>

namespace odbc_log {
namespace {

std::map<std::string, std::size_t> g_calls;
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
SQLRETURN Record(const char* name, Forward forward, SQLHANDLE* allocated, SQLHANDLE freed) {
    SQLRETURN result;
    if (auto injected = g_failures.find(name); injected != g_failures.end()) {
        result = injected->second;
        g_failures.erase(injected);
    } else {
        result = forward();
    }
    ++g_calls[name];
    if (SQL_SUCCEEDED(result) && allocated) g_live.insert(*allocated);
    if (SQL_SUCCEEDED(result) && freed) g_live.erase(freed);
    return result;
}

}  // namespace

void Clear() {
    g_calls.clear();
    g_failures.clear();
}

std::size_t CallCount(const std::string& name) { return g_calls[name]; }

std::size_t LiveHandles() { return g_live.size(); }

void FailNext(const std::string& name, SQLRETURN result) { g_failures[name] = result; }

}  // namespace odbc_log

// Defines the driver manager's function with those parameters as a call,
// through Record, of the real one with those arguments; allocated is the
// output handle of an allocation, freed the handle a free releases.
#define STAND_IN(function, parameters, arguments, allocated, freed)                                          \
    SQLRETURN SQL_API function parameters {                                                                  \
        static const auto real = odbc_log::Real<decltype(&function)>(#function);                             \
        return odbc_log::Record(#function, [&] { return real arguments; }, allocated, freed);                \
    }

STAND_IN(SQLAllocEnv, (SQLHENV* henv), (henv), henv, nullptr)
STAND_IN(SQLAllocConnect, (SQLHENV henv, SQLHDBC* hdbc), (henv, hdbc), hdbc, nullptr)
STAND_IN(SQLAllocStmt, (SQLHDBC hdbc, SQLHSTMT* hstmt), (hdbc, hstmt), hstmt, nullptr)
STAND_IN(SQLFreeEnv, (SQLHENV henv), (henv), nullptr, henv)
STAND_IN(SQLFreeConnect, (SQLHDBC hdbc), (hdbc), nullptr, hdbc)
STAND_IN(SQLFreeStmt, (SQLHSTMT hstmt, SQLUSMALLINT option), (hstmt, option), nullptr,
         option == SQL_DROP ? hstmt : nullptr)
STAND_IN(SQLExecDirect, (SQLHSTMT hstmt, SQLCHAR* text, SQLINTEGER length), (hstmt, text, length), nullptr, nullptr)
STAND_IN(SQLNumResultCols, (SQLHSTMT hstmt, SQLSMALLINT* columns), (hstmt, columns), nullptr, nullptr)
