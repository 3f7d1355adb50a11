#pragma once

#include <sql.h>
#include <sqlext.h>

#include <string>

// One result column as SQLDescribeCol reports it.
struct ColumnDescription {
    std::string name;         // whole, however long
    SQLSMALLINT type = 0;     // the SQL data type (SQL_INTEGER, SQL_VARCHAR, ...)
    SQLULEN size = 0;         // the column size; 0 when the driver does not know it
};

// The statement of one executed SQL text that has result columns. Owned by the
// caller of CDbConnection::Execute; Close frees the ODBC handle, and the
// destructor closes a statement that is still open, so no path leaks it.
// The operations are virtual so a test can stand in for a driver where a real
// one cannot produce the case.
class CDbStatement {
public:
    // getDataOnBound: the driver's SQLGetData may read bound columns (SQL_GD_BOUND).
    explicit CDbStatement(SQLHSTMT hstmt, bool getDataOnBound = false) noexcept
        : m_hstmt(hstmt), m_bGetDataOnBound(getDataOnBound) {}
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

    // SQLDescribeCol of the whole column name, its SQL data type and size.
    // Throws unless the driver describes it.
    virtual ColumnDescription Describe(int column);

    // SQLBindCol as SQL_C_CHAR into buffer of bufferSize bytes with indicator
    // as length-or-indicator. Throws unless SQL_SUCCESS.
    virtual void BindColumn(int column, char* buffer, SQLLEN bufferSize, SQLLEN* indicator);

    // SQLFetch: true for a row (SQL_SUCCESS or SQL_SUCCESS_WITH_INFO), false
    // at the end of the rows (SQL_NO_DATA). Any other result is a fetch error
    // and throws CDBException with the statement's diagnostic.
    virtual bool Fetch();

    // SQLGetData as SQL_C_CHAR of the current row's value of column, piece
    // by piece, into value (replaced; its capacity is kept for the next
    // call): every byte, no terminating NUL. False for NULL. Throws
    // CDBException when the driver fails. On a bound column only where
    // GetsDataOnBound(); there it reads the whole value from its start, also
    // when the fetch cut it to the bound buffer.
    virtual bool GetData(int column, std::string& value);
    virtual bool GetsDataOnBound() const noexcept { return m_bGetDataOnBound; }

    SQLHSTMT Handle() const noexcept { return m_hstmt; }

private:
    SQLHSTMT m_hstmt;
    bool m_bGetDataOnBound;
};
