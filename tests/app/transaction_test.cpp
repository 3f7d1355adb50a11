// Transactions in the real window: Auto Commit off, the TXN field, Commit
// and Rollback, and the question before the window closes with a
// transaction open.
#include "app_test_env.h"

#include "exec/recording_host.h"
#include "exec/recording_sink.h"
#include "exec/text_statement_source.h"
#include "support/default_settings.h"
#include "support/transcript.h"

using namespace app_test;
using namespace transcript;

namespace {

constexpr int kTransactionField = 4;

struct DataSource {
    std::string dsn, user, password;
};

std::vector<DataSource> DataSources(const std::string& name) {
    std::vector<DataSource> sources = {{test_env::NewSqliteDsn(name), "", ""}};
    if (test_env::HavePostgres()) sources.push_back({test_env::PgDsn(), test_env::PgUser(), test_env::PgPassword()});
    return sources;
}

// Runs script on a connection of its own and returns its transcript.
std::string RunElsewhere(const DataSource& source, const std::string& script) {
    CDbConnection connection;
    connection.Connect(source.dsn, source.user, source.password);
    CHistoryList history;
    CRecordingSink output(80);
    std::vector<std::string> events;
    CRecordingHost host(events);
    CTextStatementSource statements(script);
    CScriptRunner(connection, history, output, host).Run(statements, DefaultSettings());
    return output.Text();
}

// The number of rows committed.
std::string Committed(const DataSource& source) {
    return FirstValue(RunElsewhere(source, "select count(*) as n from tw_wtxn"));
}

// A window connected to source with Auto Commit turned off, one insert run.
void InsertWithoutCommit(CSecondWindow& window, const DataSource& source) {
    ConnectWindow(*window, source.dsn, source.user, source.password);
    ASSERT_TRUE(window->Connection().IsConnected());
    if (window->Settings().AutoCommit != 0) {
        ASSERT_TRUE(window->RunCommand(ID_AUTO_COMMIT));
    }
    EXPECT_EQ(StatusOf(*window, kTransactionField), "");
    RunScript(*window, "insert into tw_wtxn values (1)");
    window->Script()->Modify(false);
    EXPECT_EQ(StatusOf(*window, kTransactionField), "TXN");
}

class TransactionWindowTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        static int tests = 0;
        m_sources = DataSources("WindowTxn" + std::to_string(++tests));
        for (const DataSource& source : m_sources) RunElsewhere(source, "create table tw_wtxn (n integer)");
    }
    void TearDown() override {
        for (const DataSource& source : m_sources) RunElsewhere(source, "drop table tw_wtxn");
        WindowTest::TearDown();
    }
    std::vector<DataSource> m_sources;
};

// TXN shows from the first statement after Auto Commit was turned off until
// Rollback (Ctrl+Shift+R) or Commit (Ctrl+Shift+C) ends the transaction,
// each written into the output like a statement. Closing with a transaction
// open asks; Cancel keeps the window and the transaction, No rolls back and
// closes, Yes commits and closes.
TEST_F(TransactionWindowTest, TxnShowsUntilCommitRollbackOrTheClosingWindowEndsIt) {
    for (const DataSource& source : m_sources) {
        SCOPED_TRACE(source.dsn);
        {
            CSecondWindow window(wxSize(700, 500));
            for (const auto& [key, end, rows] : {std::tuple{'R', "rollback", "0"}, std::tuple{'C', "commit", "1"}}) {
                InsertWithoutCommit(window, source);
                EXPECT_EQ(Committed(source), "0");
                PressKey(*window, key, wxMOD_CONTROL | wxMOD_SHIFT);
                FinishRun(*window);
                EXPECT_TRUE(OutputOf(*window).ends_with(Ok(end))) << OutputOf(*window);
                EXPECT_EQ(StatusOf(*window, kTransactionField), "");
                EXPECT_EQ(Committed(source), rows);
            }
        }
        for (const auto& [answers, rows] :
             {std::pair{std::vector{wxCANCEL, wxNO}, "0"}, std::pair{std::vector{wxYES}, "1"}}) {
            RunElsewhere(source, "delete from tw_wtxn");
            CSecondWindow window(wxSize(700, 500));
            InsertWithoutCommit(window, source);
            for (const int answer : answers) {
                AnswerYesNoCancel answering(answer);
                window.Close();
                EXPECT_EQ(answering.Texts(), std::vector<std::string>{"Commit the open transaction?"});
                if (answer == wxCANCEL)
                    EXPECT_EQ(StatusOf(*window, kTransactionField), "TXN");
                else
                    EXPECT_TRUE(gui_env::WaitUntil([&] { return !window.Exists(); }, 30000));
            }
            EXPECT_EQ(Committed(source), rows);
        }
    }
}

}  // namespace
