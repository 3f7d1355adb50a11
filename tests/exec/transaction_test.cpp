#include "exec/transaction_state.h"
#include "query_value.h"
#include "run_fixture.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Source {
    std::string dsn, user, password;
};

// The number of rows of tw_txn as another connection sees them: what was
// committed.
std::string CommittedRows(const Source& s) {
    CDbConnection other;
    other.Connect(s.dsn, s.user, s.password);
    return QueryValue(other, "select count(*) from tw_txn");
}

class TransactionTest : public RunFixture {};

// With autocommit off, a rollback takes the insert away and a commit keeps
// it, each written like a statement into the transcript and the spool file
// (also with verbose output off); a disconnect with a transaction open rolls
// it back.
TEST_F(TransactionTest, RollbackTakesTheRowsAwayCommitKeepsThem) {
    std::vector<Source> sources = {{test_env::NewSqliteDsn("TxnSqlite"), "", ""}};
    if (test_env::HavePostgres()) sources.push_back({test_env::PgDsn(), test_env::PgUser(), test_env::PgPassword()});
    m_settings.EnableSpool = 1;
    m_settings.SpoolFile = test_env::TempPath("txn-spool.txt");
    const struct { TransactionEnd end; int verbose; std::string transcript, committed; } steps[] = {
        {TransactionEnd::Rollback, 1, "SQL> rollback\r\nok\r\n", "0"},
        {TransactionEnd::Commit, 0, "SQL> commit\r\nok\r\n", "1"},
    };
    for (const Source& s : sources) {
        SCOPED_TRACE(s.dsn);
        m_connection.Connect(s.dsn, s.user, s.password);
        Run("drop table if exists tw_txn;create table tw_txn (n integer)");
        ASSERT_TRUE(m_connection.SupportsTransactions());
        m_connection.SetAutoCommit(false);
        for (const auto& step : steps) {
            m_settings.EnableOutput = step.verbose;
            Run("insert into tw_txn values (1)");
            EXPECT_EQ(CommittedRows(s), "0") << "seen before the end";
            test_env::WriteFile(m_settings.SpoolFile, "");
            m_output.Clear();
            const RunSummary summary = m_runner.EndTransaction(step.end, m_settings);
            EXPECT_EQ(m_output.Text(), step.transcript);
            EXPECT_EQ(test_env::ReadFile(m_settings.SpoolFile), step.transcript);
            EXPECT_EQ(std::pair(summary.statements, summary.failures), std::pair(1, 0));
            EXPECT_EQ(CommittedRows(s), step.committed);
        }
        m_settings.EnableOutput = 1;
        Run("insert into tw_txn values (2)");
        m_connection.Disconnect();
        EXPECT_EQ(CommittedRows(s), "1");
        m_connection.Connect(s.dsn, s.user, s.password);
        Run("drop table tw_txn");
        m_connection.Disconnect();
    }
}

// Autocommit stays on where the connection has no transactions, and that is
// said once per connection; only statements in manual-commit mode open a
// transaction, and a new connection has none open.
TEST(TransactionState, FollowsTheSettingTheConnectionAndTheStatements) {
    CTransactionState state;
    state.SetAutoCommitWanted(false);
    state.Connected(true, false);
    EXPECT_TRUE(state.AutoCommit());
    EXPECT_TRUE(state.TakeNoTransactionsNotice());
    EXPECT_FALSE(state.TakeNoTransactionsNotice());
    state.StatementRan();
    EXPECT_FALSE(state.IsOpen());
    state.Connected(true, true);
    EXPECT_FALSE(state.TakeNoTransactionsNotice());
    EXPECT_FALSE(state.AutoCommit());
    state.StatementRan();
    EXPECT_TRUE(state.IsOpen());
    state.Connected(false, false);
    EXPECT_FALSE(state.IsOpen());
    EXPECT_FALSE(state.ManualCommit());
}

}  // namespace
