#pragma once

#include "db/db_statement.h"
#include "db/diag_record.h"
#include "db/statement_canceller.h"

#include <sql.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>

// What CDbConnection::Execute hands back for a statement that ran.
struct ExecuteResult {
    // The result set, when the statement produced one or more result columns.
    std::unique_ptr<CDbStatement> statement;
    // The driver's warning when SQLExecDirect (or SQLNumResultCols) returned
    // SQL_SUCCESS_WITH_INFO: its first diagnostic record (valid == false when
    // none could be read).
    std::optional<DiagRecord> warning;
};

// One ODBC environment and connection, with ODBC 2 style handle allocation.
// Handles start null and are freed in reverse order on every path.
class CDbConnection {
public:
    CDbConnection() = default;
    ~CDbConnection();
    CDbConnection(const CDbConnection&) = delete;
    CDbConnection& operator=(const CDbConnection&) = delete;

    // Disconnects first when connected, then SQLAllocEnv, SQLAllocConnect,
    // SQLConnect with the three strings exactly as given; a data source
    // that is a connection string (holds "=") goes to SQLDriverConnect
    // without a driver prompt instead, the user name and password added as
    // its UID and PWD. Success is SQL_SUCCESS or SQL_SUCCESS_WITH_INFO;
    // otherwise throws CDBException for the connection handle after freeing
    // both handles (ends disconnected).
    void Connect(const std::string& dataSource, const std::string& userName, const std::string& password);

    // SQLDisconnect, SQLFreeConnect, SQLFreeEnv when connected. Never throws.
    void Disconnect() noexcept;

    bool IsConnected() const noexcept { return m_bConnected; }
    // The data source and user name of the open connection ("" when not
    // connected). The password is not kept: a connection string comes
    // without its password attributes.
    const std::string& DataSource() const noexcept { return m_strShareableDataSource; }
    const std::string& UserName() const noexcept { return m_strUserName; }
    // "user@data source" for the window's title (see
    // CConnectionString::ConnectionText); "" when not connected.
    const std::string& ConnectionText() const noexcept { return m_strConnectionText; }

    // Set by whoever saw an error that means the connection is gone; the
    // connection stays open (every statement then fails with the driver's
    // message) until the next Connect or Disconnect clears it.
    void MarkLost() noexcept { m_bLost = m_bConnected; }
    bool IsLost() const noexcept { return m_bLost; }

    // SQLAllocStmt, SQLExecDirect (length in bytes), SQLNumResultCols.
    // SQL_SUCCESS and SQL_SUCCESS_WITH_INFO succeed (the warning is returned);
    // SQL_NO_DATA succeeds without a result set. Anything else throws
    // CDBException for the statement handle, read before the handle is freed.
    // A statement without result columns is freed here.
    ExecuteResult Execute(std::string_view sql);

    // The canceller (none: the default) that every statement is attached to
    // while SQLExecDirect runs, so another thread can stop it.
    void SetCanceller(CStatementCanceller* canceller) noexcept { m_pCanceller = canceller; }
    // Whether the driver reports transaction support (SQL_TXN_CAPABLE other
    // than SQL_TC_NONE; a driver that cannot say has none).
    bool SupportsTransactions() const noexcept;
    // Turns autocommit on or off (SQL_ATTR_AUTOCOMMIT); every connect starts
    // with it on. Throws CDBException for the connection handle when the
    // driver refuses.
    void SetAutoCommit(bool on);
    bool AutoCommit() const noexcept { return m_bAutoCommit; }
    // Commits (true) or rolls back the open transaction (SQLEndTran). Throws
    // CDBException for the connection handle when that fails.
    void EndTransaction(bool commit);
    // Connects again to DataSource() as UserName() with password, for a
    // connection that was lost, and puts autocommit back as it was. Throws
    // as Connect does (and then ends disconnected).
    void Reconnect(const std::string& password);

    // Seconds after which the driver should give up a statement
    // (SQL_ATTR_QUERY_TIMEOUT; 0, the default, for none). Drivers that do not
    // honour it ignore it.
    void SetQueryTimeout(int seconds) noexcept { m_nQueryTimeout = seconds; }

    // The connection handle, for the catalog functions (SQLTables,
    // SQLColumns, ...) that have no wrapper here; null when not connected.
    SQLHDBC Handle() const noexcept { return m_hdbc; }

private:
    bool m_bConnected = false;
    std::string m_strDataSource;            // as given, to connect again
    std::string m_strShareableDataSource;
    std::string m_strConnectionText;
    std::string m_strUserName;
    bool m_bLost = false;
    bool m_bAutoCommit = true;
    CStatementCanceller* m_pCanceller = nullptr;
    int m_nQueryTimeout = 0;
    bool m_bGetDataOnBound = false;   // the driver's SQLGetData reads bound columns
    SQLHENV m_henv = SQL_NULL_HENV;
    SQLHDBC m_hdbc = SQL_NULL_HDBC;
};
