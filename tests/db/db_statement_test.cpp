#include "db/db_connection.h"
#include "db/db_exception.h"
#include "db/db_statement.h"
#include "db_error_of.h"
#include "odbc_call_log.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using Names = std::vector<std::string>;

class DbStatementTest : public ::testing::Test {
protected:
    void SetUp() override { odbc_log::Clear(); }
    void TearDown() override {
        connection.Disconnect();
        EXPECT_TRUE(odbc_log::LiveHandles().empty()) << "an ODBC handle was left allocated";
    }

    std::unique_ptr<CDbStatement> Query(const std::string& sql) {
        ExecuteResult result = connection.Execute(sql);
        EXPECT_NE(result.statement, nullptr) << sql;
        return std::move(result.statement);
    }

    CDbConnection connection;
};

// Values come back through bound SQL_C_CHAR buffers: NUL-terminated, cut to
// the buffer with the whole length in the indicator, NULL as SQL_NULL_DATA.
struct BoundValue {
    const char* label;
    const char* expression;  // one column of a select without FROM
    SQLLEN bufferSize;
    std::string expectedText;
    SQLLEN expectedIndicator;
};

const std::vector<BoundValue> kBoundValues = {
    {"null", "null", 8, "", SQL_NULL_DATA},
    {"empty", "''", 8, "", 0},
    {"fits", "'abcdefg'", 8, "abcdefg", 7},
    {"one too long", "'abcdefgh'", 8, "abcdefg", 8},
    {"long value", "'abcdefghijklmnopqrstuvwxyz'", 6, "abcde", 26},
    {"utf-8 bytes", "'\xC3\xA9t\xC3\xA9'", 8, "\xC3\xA9t\xC3\xA9", 5},
    {"number", "42", 8, "42", 2},
};

void CheckBoundValues(CDbConnection& connection) {
    std::string sql = "select ";
    for (std::size_t i = 0; i < kBoundValues.size(); ++i) sql += (i ? ", " : "") + std::string(kBoundValues[i].expression);
    ExecuteResult result = connection.Execute(sql);
    ASSERT_NE(result.statement, nullptr);
    CDbStatement& statement = *result.statement;
    ASSERT_EQ(statement.GetColumnCount(), static_cast<int>(kBoundValues.size()));

    std::vector<std::vector<char>> buffers;
    std::vector<SQLLEN> indicators(kBoundValues.size(), 12345);
    for (std::size_t i = 0; i < kBoundValues.size(); ++i) {
        buffers.emplace_back(kBoundValues[i].bufferSize, '#');
        statement.BindColumn(static_cast<int>(i + 1), buffers[i].data(), kBoundValues[i].bufferSize, &indicators[i]);
    }
    odbc_log::Clear();
    ASSERT_TRUE(statement.Fetch());
    for (std::size_t i = 0; i < kBoundValues.size(); ++i) {
        const BoundValue& c = kBoundValues[i];
        SCOPED_TRACE(c.label);
        EXPECT_EQ(indicators[i], c.expectedIndicator);
        if (c.expectedIndicator != SQL_NULL_DATA) {
            EXPECT_EQ(std::string(buffers[i].data()), c.expectedText);
        }
    }
    // Cut values make SQLFetch return SQL_SUCCESS_WITH_INFO: still a row.
    EXPECT_EQ(odbc_log::CallsOf("SQLFetch").at(0).result, SQL_SUCCESS_WITH_INFO);
    EXPECT_FALSE(statement.Fetch());
}

TEST_F(DbStatementTest, BoundValuesSqlite) {
    connection.Connect(test_env::SqliteDsn(), "", "");
    CheckBoundValues(connection);
}

TEST_F(DbStatementTest, BoundValuesPostgres) {
    TARNWELL_REQUIRE_POSTGRES();
    connection.Connect(test_env::PgDsn(), test_env::PgUser(), test_env::PgPassword());
    CheckBoundValues(connection);
}

TEST_F(DbStatementTest, DescribeAndBindPassTheirArguments) {
    connection.Connect(test_env::SqliteDsn(), "", "");
    connection.Execute("create table described (id integer, label varchar(30))");
    connection.Execute("insert into described values (1, 'one'), (2, null)");
    auto statement = Query("select id, label from described order by id");
    odbc_log::Clear();

    char name[16];
    SQLULEN size = 0;
    statement->DescribeColumn(2, name, sizeof name, size);
    EXPECT_STREQ(name, "label");
    EXPECT_EQ(size, 30u);

    char label[31];
    SQLLEN indicator = 0;
    statement->BindColumn(2, label, sizeof label, &indicator);
    EXPECT_EQ(odbc_log::Names(), (Names{"SQLDescribeCol", "SQLBindCol"}));
    EXPECT_EQ(odbc_log::Calls()[0].arguments, (std::vector<long long>{2, 16}));
    EXPECT_EQ(odbc_log::Calls()[1].arguments, (std::vector<long long>{2, SQL_C_CHAR, 31}));

    ASSERT_TRUE(statement->Fetch());
    EXPECT_STREQ(label, "one");
    ASSERT_TRUE(statement->Fetch());
    EXPECT_EQ(indicator, SQL_NULL_DATA);
    EXPECT_FALSE(statement->Fetch());
}

TEST_F(DbStatementTest, ColumnNameLongerThanItsBufferFailsWithTruncation) {
    TARNWELL_REQUIRE_POSTGRES();
    connection.Connect(test_env::PgDsn(), test_env::PgUser(), test_env::PgPassword());
    auto statement = Query("select 1 as short, 2 as a_rather_long_column_name");
    char name[8];
    SQLULEN size = 0;

    struct Case {
        int column;
        bool fits;
    };
    for (const Case& c : {Case{1, true}, Case{2, false}}) {
        SCOPED_TRACE(c.column);
        if (c.fits) {
            statement->DescribeColumn(c.column, name, sizeof name, size);
            EXPECT_STREQ(name, "short");
        } else {
            const std::string message = DbErrorOf([&] { statement->DescribeColumn(c.column, name, sizeof name, size); });
            EXPECT_NE(message.find(" SQLSTATE = 01004\r\n"), std::string::npos) << message;
        }
    }
    // The failure leaves the statement to its owner, who closes it.
    EXPECT_EQ(odbc_log::LiveHandles().size(), 3u);
}

// Failing operations raise with the statement's diagnostic and leave the
// handle to the owner; a closed statement fails every operation.
TEST_F(DbStatementTest, FailingOperationsRaiseAndLeaveTheHandle) {
    connection.Connect(test_env::SqliteDsn(), "", "");
    auto statement = Query("select 1 as one");
    char buffer[8];
    SQLLEN indicator = 0;
    SQLULEN size = 0;

    struct Case {
        const char* label;
        std::function<void()> action;
    };
    const std::vector<Case> openCases = {
        {"describe column 0", [&] { statement->DescribeColumn(0, buffer, sizeof buffer, size); }},
        {"describe column 5", [&] { statement->DescribeColumn(5, buffer, sizeof buffer, size); }},
        {"bind with a negative size", [&] { statement->BindColumn(1, buffer, -1, &indicator); }},
    };
    for (const Case& c : openCases) {
        SCOPED_TRACE(c.label);
        const std::string message = DbErrorOf(c.action);
        EXPECT_NE(message.find(" SQLSTATE = "), std::string::npos) << message;
        EXPECT_NE(message, kReadFailed);
        EXPECT_EQ(odbc_log::LiveHandles().size(), 3u);
    }

    odbc_log::Clear();
    statement->Close();
    statement->Close();
    EXPECT_EQ(odbc_log::Names(), (Names{"SQLFreeStmt"})) << "Close frees once";
    EXPECT_EQ(odbc_log::Calls()[0].arguments, (std::vector<long long>{SQL_DROP}));

    const std::vector<Case> closedCases = {
        {"column count", [&] { statement->GetColumnCount(); }},
        {"describe", [&] { statement->DescribeColumn(1, buffer, sizeof buffer, size); }},
        {"bind", [&] { statement->BindColumn(1, buffer, sizeof buffer, &indicator); }},
        {"fetch", [&] { statement->Fetch(); }},
    };
    for (const Case& c : closedCases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(DbErrorOf(c.action), kReadFailed);
    }
}

TEST_F(DbStatementTest, DestroyingAnOpenStatementFreesIt) {
    connection.Connect(test_env::SqliteDsn(), "", "");
    Query("select 1");
    EXPECT_EQ(odbc_log::CallsOf("SQLFreeStmt").size(), 1u);
    EXPECT_EQ(odbc_log::LiveHandles().size(), 2u);
}

// With a cursor that fetches two rows at a time, the division by zero of the
// third row reaches the program at the third SQLFetch, after two good rows.
TEST_F(DbStatementTest, FetchErrorRaisesAfterTheRowsBeforeIt) {
    TARNWELL_REQUIRE_POSTGRES();
    const std::string dsn = test_env::NewPgDsn("DbTestFetchTwo", "UseDeclareFetch=1\nFetch=2\n");
    connection.Connect(dsn, test_env::PgUser(), test_env::PgPassword());
    auto statement = Query("select 1/(3-x) as q from generate_series(1,5) x");
    char value[8];
    SQLLEN indicator = 0;
    statement->BindColumn(1, value, sizeof value, &indicator);

    std::vector<std::string> rows;
    const std::string message = DbErrorOf([&] {
        while (statement->Fetch()) rows.emplace_back(value);
    });
    EXPECT_EQ(rows, (std::vector<std::string>{"0", "1"}));
    EXPECT_NE(message.find("division by zero"), std::string::npos) << message;
    EXPECT_NE(message.find(" SQLSTATE = 22012\r\n"), std::string::npos) << message;
    EXPECT_EQ(odbc_log::CallsOf("SQLFetch").size(), 3u);
    statement->Close();
    EXPECT_EQ(odbc_log::LiveHandles().size(), 2u);
}

}  // namespace
