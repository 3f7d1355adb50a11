// "TarnwellStuck": an ODBC driver for tests whose SQLExecDirect never returns
// and whose SQLCancel succeeds without stopping it, as a hung driver does.
// It implements just what the driver manager needs to connect and execute;
// handles are small heap objects, and nothing else is kept. Entering
// SQLExecDirect writes one line to standard error, so a test driving another
// process can see that the statement is in the driver.
//
// Exported functions never call each other: inside this library such a call
// could bind to the driver manager's function of the same name.
#include <sql.h>
#include <sqlext.h>

#include <unistd.h>

#include <cstdio>
#include <cstring>

namespace {

struct Handle {
    SQLSMALLINT type;
};

SQLRETURN Allocate(SQLSMALLINT type, SQLHANDLE* out) {
    if (out == nullptr) return SQL_ERROR;
    *out = new Handle{type};
    return SQL_SUCCESS;
}

SQLRETURN Free(SQLHANDLE handle) {
    delete static_cast<Handle*>(handle);
    return SQL_SUCCESS;
}

}  // namespace

extern "C" {

SQLRETURN SQL_API SQLAllocHandle(SQLSMALLINT type, SQLHANDLE, SQLHANDLE* out) { return Allocate(type, out); }
SQLRETURN SQL_API SQLAllocEnv(SQLHENV* out) { return Allocate(SQL_HANDLE_ENV, out); }
SQLRETURN SQL_API SQLAllocConnect(SQLHENV, SQLHDBC* out) { return Allocate(SQL_HANDLE_DBC, out); }
SQLRETURN SQL_API SQLAllocStmt(SQLHDBC, SQLHSTMT* out) { return Allocate(SQL_HANDLE_STMT, out); }

SQLRETURN SQL_API SQLFreeHandle(SQLSMALLINT, SQLHANDLE handle) { return Free(handle); }
SQLRETURN SQL_API SQLFreeEnv(SQLHENV handle) { return Free(handle); }
SQLRETURN SQL_API SQLFreeConnect(SQLHDBC handle) { return Free(handle); }
SQLRETURN SQL_API SQLFreeStmt(SQLHSTMT handle, SQLUSMALLINT option) {
    return option == SQL_DROP ? Free(handle) : SQL_SUCCESS;
}

SQLRETURN SQL_API SQLSetEnvAttr(SQLHENV, SQLINTEGER, SQLPOINTER, SQLINTEGER) { return SQL_SUCCESS; }
SQLRETURN SQL_API SQLSetConnectAttr(SQLHDBC, SQLINTEGER, SQLPOINTER, SQLINTEGER) { return SQL_SUCCESS; }
SQLRETURN SQL_API SQLSetStmtAttr(SQLHSTMT, SQLINTEGER, SQLPOINTER, SQLINTEGER) { return SQL_SUCCESS; }

SQLRETURN SQL_API SQLConnect(SQLHDBC, SQLCHAR*, SQLSMALLINT, SQLCHAR*, SQLSMALLINT, SQLCHAR*, SQLSMALLINT) {
    return SQL_SUCCESS;
}
SQLRETURN SQL_API SQLDisconnect(SQLHDBC) { return SQL_SUCCESS; }

// The driver manager asks for the driver's ODBC version; nothing else is known.
SQLRETURN SQL_API SQLGetInfo(SQLHDBC, SQLUSMALLINT type, SQLPOINTER value, SQLSMALLINT size, SQLSMALLINT* length) {
    if (type != SQL_DRIVER_ODBC_VER) return SQL_ERROR;
    static const char kVersion[] = "03.00";
    if (value != nullptr && size > 0) {
        std::strncpy(static_cast<char*>(value), kVersion, static_cast<std::size_t>(size) - 1);
        static_cast<char*>(value)[size - 1] = '\0';
    }
    if (length != nullptr) *length = sizeof kVersion - 1;
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLExecDirect(SQLHSTMT, SQLCHAR*, SQLINTEGER) {
    std::fputs("TarnwellStuck: executing\n", stderr);
    std::fflush(stderr);
    for (;;) pause();
}

SQLRETURN SQL_API SQLCancel(SQLHSTMT) { return SQL_SUCCESS; }

SQLRETURN SQL_API SQLNumResultCols(SQLHSTMT, SQLSMALLINT* count) {
    if (count != nullptr) *count = 0;
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLGetDiagRec(SQLSMALLINT, SQLHANDLE, SQLSMALLINT, SQLCHAR*, SQLINTEGER*, SQLCHAR*, SQLSMALLINT,
                                SQLSMALLINT*) {
    return SQL_NO_DATA;
}

}  // extern "C"
