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

ColumnDescription CDbStatement::Describe(int column) {
    ColumnDescription description;
    // Asked again with more room while the name may have been cut: the length
    // reported then is the whole name's, or (some drivers, without a
    // warning) the part copied, which fills the buffer.
    constexpr std::size_t kLargest = std::numeric_limits<SQLSMALLINT>::max();
    std::string name(128, '\0');
    for (;;) {
        SQLSMALLINT nameLength = 0;
        SQLSMALLINT decimalDigits = 0;
        SQLSMALLINT nullable = 0;
        const SQLRETURN rc =
            SQLDescribeCol(m_hstmt, static_cast<SQLUSMALLINT>(column), reinterpret_cast<SQLCHAR*>(name.data()),
                           ToSmallLength(static_cast<int>(name.size())), &nameLength, &description.type,
                           &description.size, &decimalDigits, &nullable);
        if (rc != SQL_SUCCESS && rc != SQL_SUCCESS_WITH_INFO) throw CDBException(SQL_HANDLE_STMT, m_hstmt);
        const std::size_t length = static_cast<std::size_t>(std::max<SQLSMALLINT>(nameLength, 0));
        const bool cut = length + 1 >= name.size();
        if (!cut || name.size() >= kLargest) {
            name.resize(std::min(length, name.size() - 1));
            description.name = std::move(name);
            return description;
        }
        name.assign(std::min(std::max(length + 1, 2 * name.size()), kLargest), '\0');
    }
}

bool CDbStatement::GetData(int column, std::string& value) {
    // The first piece is small, so that a buffer kept from a long value
    // costs nothing on the next short one; every further piece doubles it.
    constexpr std::size_t kFirstPiece = 256;
    value.clear();
    std::size_t have = 0;
    value.resize(kFirstPiece);
    for (;;) {
        const std::size_t room = value.size() - have;   // with the NUL that ends each piece
        SQLLEN indicator = 0;
        const SQLRETURN rc = SQLGetData(m_hstmt, static_cast<SQLUSMALLINT>(column), SQL_C_CHAR, value.data() + have,
                                        static_cast<SQLLEN>(room), &indicator);
        if (rc == SQL_NO_DATA && have > 0) break;   // the last piece was read whole before
        if (rc != SQL_SUCCESS && rc != SQL_SUCCESS_WITH_INFO) throw CDBException(SQL_HANDLE_STMT, m_hstmt);
        if (indicator == SQL_NULL_DATA) {
            value.clear();
            return false;
        }
        if (indicator != SQL_NO_TOTAL && indicator >= 0 && static_cast<std::size_t>(indicator) < room) {
            have += static_cast<std::size_t>(indicator);
            break;
        }
        have += room - 1;
        const std::size_t rest = indicator == SQL_NO_TOTAL ? 0 : static_cast<std::size_t>(indicator) - (room - 1);
        value.resize(have + std::max(rest + 1, value.size()));
    }
    value.resize(have);
    return true;
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
