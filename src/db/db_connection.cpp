#include "db/db_connection.h"

#include "db/connection_string.h"
#include "db/db_exception.h"

#include <sqlext.h>

#include <limits>
#include <utility>

namespace {

// Frees an ODBC handle when it goes out of scope, unless released first.
// Locals are destroyed in reverse order, so the handles go in the reverse
// order of their allocation; on a throw, after the exception has read the
// diagnostic.
template <SQLRETURN (*Free)(SQLHANDLE)>
class HandleGuard {
public:
    HandleGuard() = default;
    ~HandleGuard() {
        if (m_handle != SQL_NULL_HANDLE) Free(m_handle);
    }
    HandleGuard(const HandleGuard&) = delete;
    HandleGuard& operator=(const HandleGuard&) = delete;

    SQLHANDLE* Out() noexcept { return &m_handle; }
    SQLHANDLE Get() const noexcept { return m_handle; }
    SQLHANDLE Release() noexcept { return std::exchange(m_handle, SQLHANDLE{}); }

private:
    SQLHANDLE m_handle = SQL_NULL_HANDLE;
};

SQLRETURN DropStatement(SQLHANDLE hstmt) { return SQLFreeStmt(hstmt, SQL_DROP); }
SQLRETURN FreeConnect(SQLHANDLE hdbc) { return SQLFreeConnect(hdbc); }
SQLRETURN FreeEnv(SQLHANDLE henv) { return SQLFreeEnv(henv); }

SQLCHAR* Chars(const std::string& text) { return reinterpret_cast<SQLCHAR*>(const_cast<char*>(text.c_str())); }

}  // namespace

CDbConnection::~CDbConnection() { Disconnect(); }

void CDbConnection::Connect(const std::string& dataSource, const std::string& userName, const std::string& password) {
    Disconnect();

    HandleGuard<FreeEnv> henv;
    SQLAllocEnv(henv.Out());
    HandleGuard<FreeConnect> hdbc;
    SQLAllocConnect(henv.Get(), hdbc.Out());

    SQLRETURN rc;
    if (CConnectionString::IsConnectionString(dataSource)) {
        const std::string text = CConnectionString::WithCredentials(dataSource, userName, password);
        rc = SQLDriverConnect(hdbc.Get(), nullptr, Chars(text), SQL_NTS, nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT);
    } else {
        rc = SQLConnect(hdbc.Get(), Chars(dataSource), SQL_NTS, Chars(userName), SQL_NTS, Chars(password), SQL_NTS);
    }
    if (rc != SQL_SUCCESS && rc != SQL_SUCCESS_WITH_INFO) throw CDBException(SQL_HANDLE_DBC, hdbc.Get());

    // Whether SQLGetData may read a bound column (the whole value of one
    // that its buffer cut); a driver that does not say so is taken as not.
    SQLUINTEGER getData = 0;
    if (SQLGetInfo(hdbc.Get(), SQL_GETDATA_EXTENSIONS, &getData, sizeof getData, nullptr) != SQL_SUCCESS) getData = 0;
    m_bGetDataOnBound = (getData & SQL_GD_BOUND) != 0;

    m_strDataSource = dataSource;
    m_strShareableDataSource = CConnectionString::Shareable(dataSource);
    m_strConnectionText = CConnectionString::ConnectionText(userName, dataSource);
    m_strUserName = userName;
    m_hdbc = hdbc.Release();
    m_henv = henv.Release();
    m_bConnected = true;
}

void CDbConnection::Disconnect() noexcept {
    m_bLost = false;
    m_bAutoCommit = true;
    if (!m_bConnected) return;
    // A driver refuses to disconnect while a transaction is open (25000):
    // it is rolled back, never committed behind the user's back.
    if (!SQL_SUCCEEDED(SQLDisconnect(m_hdbc))) {
        SQLEndTran(SQL_HANDLE_DBC, m_hdbc, SQL_ROLLBACK);
        SQLDisconnect(m_hdbc);
    }
    SQLFreeConnect(m_hdbc);
    SQLFreeEnv(m_henv);
    m_hdbc = SQL_NULL_HDBC;
    m_henv = SQL_NULL_HENV;
    m_bConnected = false;
    m_strDataSource.clear();
    m_strShareableDataSource.clear();
    m_strConnectionText.clear();
    m_strUserName.clear();
}

ExecuteResult CDbConnection::Execute(std::string_view sql) {
    // The length goes to the driver as a SQLINTEGER: never send a cut text.
    if (sql.size() > static_cast<std::size_t>(std::numeric_limits<SQLINTEGER>::max()))
        throw CDBException(DiagRecord{true, "HY090", "Statement text too long"});

    HandleGuard<DropStatement> hstmt;
    SQLAllocStmt(m_hdbc, hstmt.Out());
    if (m_nQueryTimeout > 0)
        SQLSetStmtAttr(hstmt.Get(), SQL_ATTR_QUERY_TIMEOUT, reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(m_nQueryTimeout)),
                       SQL_IS_UINTEGER);
    ExecuteResult result;
    // The text goes to the driver unchanged, with its length in bytes. Only
    // while the driver executes it may another thread cancel it: some
    // drivers take SQLCancel outside of a running call as closing the cursor
    // (freeing rows a concurrent fetch reads); a stop requested later ends
    // the fetch loop between two rows instead.
    SQLRETURN rc;
    {
        const CCancellableScope cancellable(m_pCanceller, hstmt.Get());
        rc = SQLExecDirect(hstmt.Get(), reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql.data())),
                           static_cast<SQLINTEGER>(sql.size()));
    }
    if (rc == SQL_NO_DATA) return result;
    if (rc == SQL_SUCCESS_WITH_INFO) {
        // Read now: the next call on the statement clears its diagnostics.
        result.warning = ReadDiagRecord(SQL_HANDLE_STMT, hstmt.Get());
    } else if (rc != SQL_SUCCESS) {
        throw CDBException(SQL_HANDLE_STMT, hstmt.Get());
    }

    SQLSMALLINT columns = 0;
    rc = SQLNumResultCols(hstmt.Get(), &columns);
    if (rc == SQL_SUCCESS_WITH_INFO && !result.warning) {
        result.warning = ReadDiagRecord(SQL_HANDLE_STMT, hstmt.Get());
    } else if (rc != SQL_SUCCESS && rc != SQL_SUCCESS_WITH_INFO) {
        throw CDBException(SQL_HANDLE_STMT, hstmt.Get());
    }

    if (columns > 0) {
        result.statement = std::make_unique<CDbStatement>(hstmt.Get(), m_bGetDataOnBound);
        hstmt.Release();
    }
    return result;
}

bool CDbConnection::SupportsTransactions() const noexcept {
    if (!m_bConnected) return false;
    SQLUSMALLINT capable = SQL_TC_NONE;
    if (!SQL_SUCCEEDED(SQLGetInfo(m_hdbc, SQL_TXN_CAPABLE, &capable, sizeof capable, nullptr))) return false;
    return capable != SQL_TC_NONE;
}

void CDbConnection::SetAutoCommit(bool on) {
    const SQLULEN value = on ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF;
    if (!SQL_SUCCEEDED(
            SQLSetConnectAttr(m_hdbc, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(value), SQL_IS_UINTEGER)))
        throw CDBException(SQL_HANDLE_DBC, m_hdbc);
    m_bAutoCommit = on;
}

void CDbConnection::EndTransaction(bool commit) {
    if (!SQL_SUCCEEDED(SQLEndTran(SQL_HANDLE_DBC, m_hdbc, commit ? SQL_COMMIT : SQL_ROLLBACK)))
        throw CDBException(SQL_HANDLE_DBC, m_hdbc);
}

void CDbConnection::Reconnect(const std::string& password) {
    // Copies: Connect clears the members as it disconnects.
    const std::string dataSource = m_strDataSource;
    const std::string userName = m_strUserName;
    const bool autoCommit = m_bAutoCommit;
    Connect(dataSource, userName, password);
    if (!autoCommit) SetAutoCommit(false);
}
