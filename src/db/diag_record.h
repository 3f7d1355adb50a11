#pragma once

#include <sql.h>

#include <string>

// The first diagnostic record of an ODBC handle, as SQLGetDiagRec gives it.
struct DiagRecord {
    bool valid = false;     // false: no record could be read
    std::string sqlState;   // five characters
    std::string text;       // at most 999 bytes (a longer text is cut there)
};

// Reads record 1 of the handle. A text of 1000 bytes or more comes back cut to
// its first 999 bytes (still valid); a handle without a readable record gives
// valid == false.
DiagRecord ReadDiagRecord(SQLSMALLINT handleType, SQLHANDLE handle);
