#include "db/db_exception.h"

CDBException::CDBException(SQLSMALLINT handleType, SQLHANDLE handle)
    : CDBException(ReadDiagRecord(handleType, handle)) {}

CDBException::CDBException(const DiagRecord& record)
    : CException(FormatMessage(record)), m_strSqlState(record.valid ? record.sqlState : std::string()) {}

bool CDBException::MeansConnectionLost() const noexcept {
    const std::string& state = m_strSqlState;
    return state.starts_with("08") || state == "57P01" || state == "57P02" || state == "57P03";
}

std::string CDBException::FormatMessage(const DiagRecord& record) {
    if (!record.valid) return "\r\nError: SQLGetDiagRec failed\r\n";
    return "\r\nError: " + record.text + " SQLSTATE = " + record.sqlState + "\r\n";
}
