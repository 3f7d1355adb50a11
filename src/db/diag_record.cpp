#include "db/diag_record.h"

#include <cstring>

DiagRecord ReadDiagRecord(SQLSMALLINT handleType, SQLHANDLE handle) {
    // Fixed buffers: a five-character SQLSTATE with its NUL, and a message
    // text of at most 999 characters with its NUL.
    SQLCHAR state[6] = {};
    SQLINTEGER nativeError = 0;
    SQLCHAR text[1000] = {};
    SQLSMALLINT textLength = 0;

    const SQLRETURN rc =
        SQLGetDiagRec(handleType, handle, 1, state, &nativeError, text, sizeof text, &textLength);

    DiagRecord record;
    if (rc != SQL_SUCCESS && rc != SQL_SUCCESS_WITH_INFO) return record;

    state[5] = '\0';
    const auto* stateChars = reinterpret_cast<const char*>(state);
    const auto* textChars = reinterpret_cast<const char*>(text);

    // SQL_SUCCESS_WITH_INFO: the text did not fit, and the buffer holds its
    // first 999 bytes.
    record.valid = true;
    record.sqlState.assign(stateChars, strnlen(stateChars, 5));
    record.text.assign(textChars, strnlen(textChars, sizeof text - 1));
    return record;
}
