#pragma once

#include <sql.h>
#include <sqlext.h>

// The statement of one executed SQL text that has result columns. Owned by the
// caller of CDbConnection::Execute; Close frees the ODBC handle, and the
// destructor closes a statement that is still open, so no path leaks it.
// The operations are virtual so a test can stand in for a driver where a real
// one cannot produce the case.
class CDbStatement {
public:
    explicit CDbStatement(SQLHSTMT hstmt) noexcept : m_hstmt(hstmt) {}
    virtual ~CDbStatement();
    CDbStatement(const CDbStatement&) = delete;
    CDbStatement& operator=(const CDbStatement&) = delete;

    // SQLFreeStmt with SQL_DROP; a second call does nothing. Never throws.
    virtual void Close() noexcept;

    // SQLNumResultCols; throws CDBException unless SQL_SUCCESS.
    virtual int GetColumnCount();

    // SQLDescribeCol: the column name (NUL-terminated, into name of nameSize
    // bytes) and the column size. Throws unless SQL_SUCCESS: a name cut short
    // by the buffer fails with the driver's truncation diagnostic.
    virtual void DescribeColumn(int column, char* name, int nameSize, SQLULEN& columnSize);

    // SQLBindCol as SQL_C_CHAR into buffer of bufferSize bytes with indicator
    // as length-or-indicator. Throws unless SQL_SUCCESS.
    virtual void BindColumn(int column, char* buffer, SQLLEN bufferSize, SQLLEN* indicator);

    // SQLFetch: true for a row (SQL_SUCCESS or SQL_SUCCESS_WITH_INFO), false
    // at the end of the rows (SQL_NO_DATA). Any other result is a fetch error
    // and throws CDBException with the statement's diagnostic.
    virtual bool Fetch();

    SQLHSTMT Handle() const noexcept { return m_hstmt; }

private:
    SQLHSTMT m_hstmt;
};
