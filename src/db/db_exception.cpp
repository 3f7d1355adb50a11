#include "db/db_exception.h"

CDBException::CDBException(SQLSMALLINT handleType, SQLHANDLE handle)
    : CDBException(ReadDiagRecord(handleType, handle)) {}

CDBException::CDBException(const DiagRecord& record) : CException(FormatMessage(record)) {}

std::string CDBException::FormatMessage(const DiagRecord& record) {
    if (!record.valid) return "\r\nError: SQLGetDiagRec failed\r\n";
    return "\r\nError: " + record.text + " SQLSTATE = " + record.sqlState + "\r\n";
}
