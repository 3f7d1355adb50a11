#include "caret_text.h"
#include "editor/catalog_loader.h"
#include "editor/catalog_reader.h"
#include "editor/table_describer.h"
#include "exec/recording_sink.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <tuple>
#include <unistd.h>

namespace {

struct Database {
    const char* name;
    bool postgres;
    // The primary key (code, id) as the driver reports it: the SQLite
    // driver numbers a key's columns in the table's order.
    std::vector<std::string> key;
};

// The catalog of a table with a two-column primary key whose order is not
// the columns' order, on each database.
class CatalogTest : public ::testing::TestWithParam<Database> {
protected:
    void SetUp() override {
        if (GetParam().postgres) {
            TARNWELL_REQUIRE_POSTGRES();
            std::tie(m_dsn, m_user, m_password) = std::tie(test_env::PgDsn(), test_env::PgUser(), test_env::PgPassword());
        } else {
            m_dsn = test_env::NewSqliteDsn("EditorCatalog");
        }
        m_connection.Connect(m_dsn, m_user, m_password);
        m_connection.Execute("create table " + m_table +
                             " (id integer not null, code varchar(10) not null, note varchar(20) default 'x', "
                             "primary key (code, id))");
    }
    void TearDown() override {
        if (m_connection.IsConnected()) m_connection.Execute("drop table " + m_table);
    }

    std::string m_dsn, m_user, m_password;
    // Unique on the shared PostgreSQL server.
    std::string m_table = "ed_parts_" + std::to_string(getpid());
    CDbConnection m_connection;
};

TEST_P(CatalogTest, ReaderListsTablesColumnsAndPrimaryKey) {
    CCatalogReader reader(m_connection);
    const auto tables = reader.Tables();
    const auto table = std::find_if(tables.begin(), tables.end(), [&](const CatalogTable& t) { return t.name == m_table; });
    ASSERT_NE(table, tables.end());
    EXPECT_FALSE(table->view);

    // '_' is a wildcard of the catalog functions: a table whose name only
    // matches so adds none of its columns.
    std::string lookalike = m_table;
    lookalike[2] = 'X';
    m_connection.Execute("create table " + lookalike + " (z integer)");
    const auto columns = reader.Columns(table->schema, m_table);
    m_connection.Execute("drop table " + lookalike);
    ASSERT_EQ(columns.size(), 3u);
    EXPECT_EQ(std::tuple(columns[0].name, columns[1].name, columns[1].size, columns[1].nullable, columns[2].nullable),
              std::tuple("id", "code", "10", "NO", "YES"));
    EXPECT_NE(columns[2].defaultValue.find('x'), std::string::npos) << columns[2].defaultValue;
    EXPECT_EQ(reader.PrimaryKey(table->schema, m_table), GetParam().key);
}

TEST_P(CatalogTest, DescribePrintsTheColumnsAndKeyAndSaysWhenThereIsNoTable) {
    CRecordingSink sink(80);
    std::string upper = m_table;
    std::transform(upper.begin(), upper.end(), upper.begin(), ::toupper);
    CTableDescriber describer(m_connection, 10, 100);
    describer.Describe(upper, sink);   // unquoted: found in the case the database folded it to
    const std::string& text = sink.Text();
    ASSERT_EQ(text.find("Table "), 0u) << text;
    EXPECT_NE(text.find(m_table + "\r\n\r\nColumn Type"), std::string::npos) << text;
    EXPECT_NE(text.find("\r\nid     "), std::string::npos) << text;
    EXPECT_NE(text.find("3 row(s) fetched\r\n"), std::string::npos) << text;
    // The last field of each key column's row: its place in the key.
    for (std::size_t i = 0; const std::string& column : GetParam().key) {
        const std::size_t line = text.find("\r\n" + column + " ") + 2;
        const std::string row = text.substr(line, text.find("\r\n", line) - line);
        EXPECT_EQ(row.substr(row.find_last_not_of(' '), 1), std::to_string(++i)) << column;
    }
    sink.Clear();
    describer.Describe("\"" + upper + "\"", sink);   // quoted: exactly as written, which is no table
    EXPECT_EQ(sink.Text(), "No table named \"" + upper + "\"\r\n");
}

TEST_P(CatalogTest, LoaderFillsTheCatalogOnItsOwnConnection) {
    CCatalogLoader loader(m_dsn, m_user, m_password);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!loader.Catalog()->Loaded() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_TRUE(loader.Catalog()->Loaded());
    const auto names = loader.Catalog()->TableNames();
    EXPECT_NE(std::find(names.begin(), names.end(), m_table), names.end());
    EXPECT_EQ(loader.Catalog()->Columns("", m_table, false), (std::vector<std::string>{"id", "code", "note"}));
}

INSTANTIATE_TEST_SUITE_P(Databases, CatalogTest, ::testing::Values(Database{"SQLite", false, {"id", "code"}},
                                                               Database{"PostgreSQL", true, {"code", "id"}}),
                         [](const auto& info) { return std::string(info.param.name); });

// The describe's golden table on SQLite: widths follow the widest name or
// value of each column.
TEST(DescribeFormatTest, TableInTheTranscriptStyle) {
    CDbConnection connection;
    connection.Connect(test_env::NewSqliteDsn("EditorDescribe"), "", "");
    connection.Execute("create table t (id integer primary key, long_column_name text default 'abc')");
    CRecordingSink sink(80);
    CTableDescriber(connection, 10, 100).Describe("t", sink);
    EXPECT_EQ(sink.Text(),
              "Table t\r\n\r\n"
              "Column           Type    Size Nullable Default Key \r\n"
              "---------------- ------- ---- -------- ------- --- \r\n"
              "id               INTEGER 9    YES      NULL    1   \r\n"
              "long_column_name TEXT    0    YES      abc         \r\n"
              "2 row(s) fetched\r\n");
}

TEST(DescribeFormatTest, NameAtTheCaret) {
    const std::pair<const char*, const char*> cases[] = {  // "|" marks the caret
        {"select * from emp|loyees e", "employees"}, {"from sales.\"Order|s\";", "sales.\"Orders\""},
        {"x = |", ""}, {"(t.|)", "t"},
    };
    for (const auto& [marked, name] : cases) {
        const auto [text, caret] = AtCaret(marked);
        EXPECT_EQ(NameAt(text, caret), name) << marked;
    }
}

}  // namespace
