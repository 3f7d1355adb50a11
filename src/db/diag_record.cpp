#include "db/diag_record.h"

#include "common/display_text.h"

#include <sqlext.h>

#include <cstring>
#include <string_view>

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
    std::string_view message(textChars, strnlen(textChars, sizeof text - 1));
    // SQL_SUCCESS_WITH_INFO: the text did not fit and the driver cut it at
    // 999 bytes, possibly inside a UTF-8 character; keep whole characters.
    if (rc == SQL_SUCCESS_WITH_INFO) message = message.substr(0, display_text::PrefixForBytes(message, message.size()));

    record.valid = true;
    record.sqlState.assign(stateChars, strnlen(stateChars, 5));
    record.text.assign(message);
    return record;
}
