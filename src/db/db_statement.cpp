#include "db/db_statement.h"

#include "db/db_exception.h"

#include <algorithm>
#include <limits>

namespace {

SQLSMALLINT ToSmallLength(int size) {
    return static_cast<SQLSMALLINT>(std::clamp(size, 0, int{std::numeric_limits<SQLSMALLINT>::max()}));
}

}  // namespace

CDbStatement::~CDbStatement() { CDbStatement::Close(); }

void CDbStatement::Close() noexcept {
    if (m_hstmt == SQL_NULL_HSTMT) return;
    SQLFreeStmt(m_hstmt, SQL_DROP);
    m_hstmt = SQL_NULL_HSTMT;
}

int CDbStatement::GetColumnCount() {
    SQLSMALLINT columns = 0;
    if (SQLNumResultCols(m_hstmt, &columns) != SQL_SUCCESS) throw CDBException(SQL_HANDLE_STMT, m_hstmt);
    return columns;
}

void CDbStatement::DescribeColumn(int column, char* name, int nameSize, SQLULEN& columnSize) {
    SQLSMALLINT nameLength = 0;
    SQLSMALLINT dataType = 0;
    SQLULEN size = 0;
    SQLSMALLINT decimalDigits = 0;
    SQLSMALLINT nullable = 0;
    const SQLRETURN rc = SQLDescribeCol(m_hstmt, static_cast<SQLUSMALLINT>(column), reinterpret_cast<SQLCHAR*>(name),
                                        ToSmallLength(nameSize), &nameLength, &dataType, &size, &decimalDigits,
                                        &nullable);
    if (rc != SQL_SUCCESS) throw CDBException(SQL_HANDLE_STMT, m_hstmt);
    columnSize = size;
}

void CDbStatement::BindColumn(int column, char* buffer, SQLLEN bufferSize, SQLLEN* indicator) {
    if (SQLBindCol(m_hstmt, static_cast<SQLUSMALLINT>(column), SQL_C_CHAR, buffer, bufferSize, indicator) !=
        SQL_SUCCESS)
        throw CDBException(SQL_HANDLE_STMT, m_hstmt);
}

bool CDbStatement::Fetch() {
    const SQLRETURN rc = SQLFetch(m_hstmt);
    if (rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO) return true;
    if (rc == SQL_NO_DATA) return false;
    throw CDBException(SQL_HANDLE_STMT, m_hstmt);
}
