// The data formats: each writer's escaping of hostile values, NULL against
// the empty string, numbers by SQL type, JSON read back by a JSON library;
// the row reader's whole values, through the driver's bound buffers or not,
// and the printer that joins them.
#include "exec/data_printer.h"
#include "exec/result_writer.h"
#include "exec/row_reader.h"
#include "fake_statement.h"
#include "recording_sink.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace {

using nlohmann::json;

// Everything one writer writes for a result set of the given columns and rows.
std::string Written(ResultFormat format, const std::vector<ResultColumn>& columns, const std::vector<ResultValue>& row,
                    const std::string& statement = "select") {
    CRecordingSink sink;
    const auto writer = CResultWriter::Create(format, sink, false, "");
    writer->BeginResult(statement, columns);
    writer->WriteRow(row);
    writer->EndResult();
    return sink.Text();
}

TEST(ResultWriterTest, EveryFormatEscapesHostileValues) {
    const std::string nul("a\0b", 3), utf8 = "Zo\xC3\xAB \xE6\x97\xA5 \xF0\x9F\x98\x80";
    // Latin-1, an overlong "/", a surrogate, a cut sequence.
    const std::string bad = "caf\xE9 \xC0\xAF \xED\xA0\x80 \xE6\x97";
    const struct { const char* name; ResultValue value; std::string csv, tsv, json, markdown; } cases[] = {
        {"plain", "abc", "abc", "abc", "\"abc\"", "abc"},
        {"NULL", std::nullopt, "", "\\N", "null", ""},
        {"empty", "", "\"\"", "", "\"\"", ""},
        {"comma", "a,b", "\"a,b\"", "a,b", "\"a,b\"", "a,b"},
        {"quotes", "say \"hi\"", "\"say \"\"hi\"\"\"", "say \"hi\"", "\"say \\\"hi\\\"\"", "say \"hi\""},
        {"tab", "a\tb", "a\tb", "a\\tb", "\"a\\tb\"", "a\tb"},
        {"CRLF", "a\r\nb", "\"a\r\nb\"", "a\\r\\nb", "\"a\\r\\nb\"", "a<br>b"},
        {"CR", "a\rb", "\"a\rb\"", "a\\rb", "\"a\\rb\"", "a<br>b"},
        {"LF", "a\nb", "\"a\nb\"", "a\\nb", "\"a\\nb\"", "a<br>b"},
        {"NUL", nul, nul, "a\\0b", "\"a\\u0000b\"", "a\xEF\xBF\xBD" "b"},
        {"backslash", "a\\b", "a\\b", "a\\\\b", "\"a\\\\b\"", "a\\\\b"},
        {"pipe", "a|b", "a|b", "a|b", "\"a|b\"", "a\\|b"},
        {"escaped pipe", "\\|", "\\|", "\\\\|", "\"\\\\|\"", "\\\\\\|"},
        {"control", "\x01\x1F", "\x01\x1F", "\x01\x1F", "\"\\u0001\\u001f\"", "\x01\x1F"},
        {"UTF-8", utf8, utf8, utf8, "\"" + utf8 + "\"", utf8},
        {"invalid UTF-8", bad, bad, bad, "\"caf\\u00e9 \\u00c0\\u00af \\u00ed\\u00a0\\u0080 \\u00e6\\u0097\"", bad},
    };
    const std::vector<ResultColumn> columns = {{"v", SQL_VARCHAR}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // A one-column result set named "v" with one row: the frame around the value's cell.
        const std::pair<ResultFormat, std::string> expected[] = {
            {ResultFormat::kCsv, "v\r\n" + c.csv + "\r\n"},
            {ResultFormat::kTsv, "v\r\n" + c.tsv + "\r\n"},
            {ResultFormat::kJson, "{\"statement\": \"select\", \"columns\": [\"v\"], \"rows\": [[" + c.json + "]]}\r\n"},
            {ResultFormat::kMarkdown, "| v |\r\n| --- |\r\n| " + c.markdown + " |\r\n"},
        };
        for (const auto& [format, text] : expected) EXPECT_EQ(Written(format, columns, {c.value}), text);
        // Read back, the value is the original (for UTF-8 text).
        const json value = json::parse(Written(ResultFormat::kJson, columns, {c.value})).at("rows").at(0).at(0);
        if (!c.value) {
            EXPECT_TRUE(value.is_null());
        } else if (std::string(c.name) != "invalid UTF-8") {
            EXPECT_EQ(value.get<std::string>(), *c.value);
        }
    }
}

TEST(ResultWriterTest, JsonNumbersByTypeAndShapeAndReadBack) {
    const struct { SQLSMALLINT type; ResultValue value; bool number; } cases[] = {
        {SQL_INTEGER, "42", true}, {SQL_BIGINT, "-9223372036854775808", true}, {SQL_SMALLINT, "0", true},
        {SQL_TINYINT, "7", true}, {SQL_DECIMAL, "142000.00", true}, {SQL_NUMERIC, "-0.5", true},
        {SQL_DOUBLE, "1.5e+20", true}, {SQL_REAL, "1E-5", true}, {SQL_FLOAT, "3.25", true},
        {SQL_INTEGER, std::nullopt, false},
        // Numeric columns whose text is no JSON number stay strings.
        {SQL_DOUBLE, "NaN", false}, {SQL_DOUBLE, "-Infinity", false}, {SQL_NUMERIC, ".5", false},
        {SQL_NUMERIC, "1.", false}, {SQL_NUMERIC, "+1", false}, {SQL_INTEGER, "007", false},
        {SQL_INTEGER, " 1", false}, {SQL_INTEGER, "", false}, {SQL_INTEGER, "1e", false},
        {SQL_INTEGER, "abc", false},   // SQLite keeps any text in any column
        // Not numeric types.
        {SQL_VARCHAR, "42", false}, {SQL_BIT, "1", false}, {SQL_TYPE_DATE, "2024-01-01", false},
    };
    std::vector<ResultColumn> columns;
    std::vector<ResultValue> row;
    for (const auto& c : cases) {
        columns.push_back({"c" + std::to_string(columns.size()), c.type});
        row.push_back(c.value);
    }
    // The statement and the names need escaping too.
    columns[0].name = "\"quoted\"\n\xFF";
    const json parsed = json::parse(Written(ResultFormat::kJson, columns, row, "select '\\'\r\n"));
    EXPECT_EQ(parsed.at("statement"), "select '\\'\r\n");
    EXPECT_EQ(parsed.at("columns").at(0), "\"quoted\"\n\xC3\xBF");
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const json& value = parsed.at("rows").at(0).at(i);
        SCOPED_TRACE(cases[i].value.value_or("NULL"));
        EXPECT_EQ(value.is_number(), cases[i].number) << value.dump();
        if (cases[i].value && !cases[i].number) {
            EXPECT_EQ(value, std::string(*cases[i].value));
        }
    }
    EXPECT_EQ(parsed.at("rows").at(0).at(4).dump(), "142000.0");
}

// Two result sets in each format, with LF line ends and a NULL text: how
// result sets follow each other, markdown's alignment and NULL.
TEST(ResultWriterTest, ResultSetsFollowEachOther) {
    const std::vector<ResultColumn> first = {{"id", SQL_INTEGER}, {"name", SQL_VARCHAR}};
    const std::vector<ResultColumn> second = {{"x", SQL_VARCHAR}};
    const struct { ResultFormat format; std::string expected; } cases[] = {
        {ResultFormat::kCsv, "id,name\n1,a\n,\"\"\nx\ny\n"},
        {ResultFormat::kTsv, "id\tname\n1\ta\n\\N\t\nx\ny\n"},
        {ResultFormat::kJson,
         "{\"statement\": \"one\", \"columns\": [\"id\", \"name\"], \"rows\": [[1, \"a\"], [null, \"\"]]}\n"
         "{\"statement\": \"two\", \"columns\": [\"x\"], \"rows\": [[\"y\"]]}\n"},
        {ResultFormat::kMarkdown,
         "| id | name |\n| ---: | --- |\n| 1 | a |\n| - |  |\n\n| x |\n| --- |\n| y |\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        CRecordingSink sink;
        const auto writer = CResultWriter::Create(c.format, sink, true, "-");
        writer->BeginResult("one", first);
        writer->WriteRow(std::vector<ResultValue>{"1", "a"});
        writer->WriteRow(std::vector<ResultValue>{std::nullopt, ""});
        writer->EndResult();
        writer->BeginResult("two", second);
        writer->WriteRow(std::vector<ResultValue>{"y"});
        writer->EndResult();
        EXPECT_EQ(sink.Text(), c.expected);
    }
}

// A stand-in result set that also describes its columns with their types
// and gives whole values with GetData, as a driver does.
class CWholeValueStatement : public CFakeStatement {
public:
    CWholeValueStatement(std::vector<FakeColumn> columns, std::vector<FakeRow> rows, bool getDataOnBound,
                         bool fetchErrorAtEnd = false)
        : CFakeStatement(std::move(columns), std::move(rows), fetchErrorAtEnd), m_bGetDataOnBound(getDataOnBound) {}

    ColumnDescription Describe(int column) override {
        const FakeColumn& c = m_columns.at(static_cast<std::size_t>(column - 1));
        return {c.name, SQL_VARCHAR, c.size};
    }
    // Without bound columns there are no buffers to fill.
    bool Fetch() override {
        if (m_bGetDataOnBound) return CFakeStatement::Fetch();
        if (m_nextRow == m_rows.size()) return false;
        ++m_nextRow;
        return true;
    }
    bool GetData(int column, std::string& value) override {
        ++gets;
        const std::optional<std::string>& cell = m_rows.at(m_nextRow - 1).at(static_cast<std::size_t>(column - 1));
        value = cell.value_or("");
        return cell.has_value();
    }
    bool GetsDataOnBound() const noexcept override { return m_bGetDataOnBound; }

    int gets = 0;

private:
    bool m_bGetDataOnBound;
};

// Every value comes whole: through the bound buffers, with GetData only for
// those the buffer cut (a column of size 2 gets a buffer of 32 bytes), or
// with GetData alone where the driver cannot read bound columns.
TEST(RowReaderTest, ValuesComeWholeWithOrWithoutBoundBuffers) {
    const std::vector<FakeColumn> columns = {{"a", 2}, {"b", 0}};
    const std::vector<FakeRow> rows = {
        {std::string(31, 'x'), std::nullopt},
        {std::string(32, 'y'), ""},
        {std::string("n\0l", 3), std::string(10000, 'z')},
    };
    for (const bool bound : {true, false}) {
        SCOPED_TRACE(bound ? "bound" : "GetData");
        CWholeValueStatement statement(columns, rows, bound);
        CRowReader reader(statement);
        ASSERT_EQ(reader.Columns().size(), 2u);
        EXPECT_EQ(reader.Columns()[1].name, "b");
        std::vector<FakeRow> read;
        while (reader.Next()) {
            FakeRow row;
            for (const ResultValue& value : reader.Row()) row.push_back(value ? std::optional<std::string>(*value) : std::nullopt);
            read.push_back(row);
        }
        EXPECT_EQ(read, rows);
        EXPECT_EQ(statement.gets, bound ? 2 : 6);
    }
}

// A fetch error after a row: the document is closed, so standard output
// stays valid JSON, the transcript counts the row, and the error goes on.
TEST(DataPrinterTest, AFetchErrorClosesTheResultAndCountsItsRows) {
    CWholeValueStatement statement({{"n", 5}}, {{"1"}}, true, true);
    CRecordingSink data, transcript;
    const auto writer = CResultWriter::Create(ResultFormat::kJson, data, false, "");
    EXPECT_THROW(CDataPrinter(*writer).Print(statement, "select n", nullptr, transcript), CDBException);
    EXPECT_EQ(json::parse(data.Text()).at("rows"), json::parse("[[\"1\"]]"));
    EXPECT_EQ(transcript.Text(), "\r\n1 row(s) fetched\r\n");
}

}  // namespace
