#pragma once

#include "common/exception.h"
#include "db/diag_record.h"

// The one database error: built at the moment an ODBC call fails, from the
// first diagnostic record of the failing handle. The message is
// "\r\nError: <text> SQLSTATE = <state>\r\n", or
// "\r\nError: SQLGetDiagRec failed\r\n" when no record can be read.
class CDBException : public CException {
public:
    CDBException(SQLSMALLINT handleType, SQLHANDLE handle);
    explicit CDBException(const DiagRecord& record);

    static std::string FormatMessage(const DiagRecord& record);

    // The five-character SQLSTATE of the record ("" when none could be read).
    const std::string& SqlState() const noexcept { return m_strSqlState; }
    // True for the states that mean the connection itself is gone: class 08
    // (connection exception) and the server's shutdown states 57P01-57P03.
    bool MeansConnectionLost() const noexcept;

private:
    std::string m_strSqlState;
};
