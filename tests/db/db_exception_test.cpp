#include "db/db_exception.h"
#include "db_error_of.h"

#include <gtest/gtest.h>

#include <sqlext.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

TEST(DbExceptionMessage, FormatsTheFirstRecordOrTheFixedText) {
    struct Case {
        DiagRecord record;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {{true, "42S02", "no such table: t"}, "\r\nError: no such table: t SQLSTATE = 42S02\r\n"},
        {{true, "01004", std::string(999, 'z')}, "\r\nError: " + std::string(999, 'z') + " SQLSTATE = 01004\r\n"},
        {{false, "", ""}, kReadFailed},
        {{false, "42000", "ignored"}, kReadFailed},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CDBException::FormatMessage(c.record), c.expected);
        const CDBException error(c.record);
        EXPECT_EQ(error.Message(), c.expected);
        EXPECT_STREQ(error.what(), c.expected.c_str());
    }
}

TEST(DbExceptionMessage, HandleWithoutReadableRecordGivesFixedText) {
    SQLHENV henv = SQL_NULL_HENV;
    ASSERT_TRUE(SQL_SUCCEEDED(SQLAllocEnv(&henv)));
    // A fresh environment holds no record (SQL_NO_DATA); a null statement
    // handle is invalid (SQL_INVALID_HANDLE).
    EXPECT_EQ(CDBException(SQL_HANDLE_ENV, henv).Message(), kReadFailed);
    SQLFreeEnv(henv);
    EXPECT_EQ(CDBException(SQL_HANDLE_STMT, SQL_NULL_HSTMT).Message(), kReadFailed);
    EXPECT_EQ(CDBException(SQL_HANDLE_DBC, SQL_NULL_HDBC).Message(), kReadFailed);
}

// GetErrorMessage with the capacities the program uses: 800 for the output
// pane, 512 for message boxes. The result is the message while it is shorter
// than the capacity, otherwise its first capacity - 1 bytes, backed off so no
// UTF-8 character is cut.
struct CapacityCase {
    const char* label;
    std::size_t capacity;
    std::string message;
    std::size_t expectedLength;  // a prefix of message of this many bytes
};

std::vector<CapacityCase> CapacityCases() {
    std::vector<CapacityCase> cases;
    for (const std::size_t capacity : {std::size_t{800}, std::size_t{512}}) {
        cases.push_back({"shorter by two", capacity, std::string(capacity - 2, 'a'), capacity - 2});
        cases.push_back({"one below capacity", capacity, std::string(capacity - 1, 'b'), capacity - 1});
        cases.push_back({"exactly capacity", capacity, std::string(capacity, 'c'), capacity - 1});
        cases.push_back({"one over", capacity, std::string(capacity + 1, 'd'), capacity - 1});
        cases.push_back({"far over", capacity, std::string(5000, 'e'), capacity - 1});
        // A two-byte character on the cut: it goes as a whole.
        cases.push_back({"2-byte char cut", capacity, std::string(capacity - 2, 'f') + "\xC3\xA9tail", capacity - 2});
        // A three-byte character in the last three places.
        cases.push_back({"3-byte char cut", capacity, std::string(capacity - 3, 'g') + "\xE2\x82\xAC", capacity - 3});
        // A two-byte character ending just before the cut stays.
        cases.push_back({"2-byte char kept", capacity, std::string(capacity - 3, 'h') + "\xC3\xA9xyz", capacity - 1});
    }
    cases.push_back({"empty", 800, "", 0});
    cases.push_back({"capacity one", 1, "abc", 0});
    return cases;
}

TEST(CExceptionErrorMessage, KeepsTheFirstCapacityMinusOneBytes) {
    for (const CapacityCase& c : CapacityCases()) {
        SCOPED_TRACE(std::string(c.label) + ", capacity " + std::to_string(c.capacity));
        const CException error(c.message);
        const std::string expected = c.message.substr(0, c.expectedLength);

        EXPECT_EQ(error.GetErrorMessage(c.capacity), expected);

        // The buffer form: NUL-terminated, nothing written past capacity.
        std::vector<char> buffer(c.capacity + 16, '#');
        unsigned helpContext = 4711;
        EXPECT_TRUE(error.GetErrorMessage(buffer.data(), c.capacity, &helpContext));
        EXPECT_EQ(std::string(buffer.data()), expected);
        EXPECT_EQ(std::string(buffer.begin() + c.capacity, buffer.end()), std::string(16, '#'));
        EXPECT_EQ(helpContext, 4711u);
    }
}

TEST(CExceptionErrorMessage, ZeroCapacityWritesNothing) {
    const CException error("abc");
    char buffer[4] = {'#', '#', '#', '#'};
    EXPECT_TRUE(error.GetErrorMessage(buffer, 0));
    EXPECT_EQ(std::string(buffer, 4), "####");
    EXPECT_EQ(error.GetErrorMessage(std::size_t{0}), "");
}

TEST(CExceptionErrorMessage, DatabaseMessageThroughBothCapacities) {
    // A driver text of 999 bytes gives a message of 1027 bytes, which the
    // output pane shows as its first 799 and a message box as its first 511.
    const CDBException error(DiagRecord{true, "P0001", "ERROR: " + std::string(992, 'x')});
    ASSERT_EQ(error.Message().size(), 1027u);
    EXPECT_EQ(error.GetErrorMessage(800), error.Message().substr(0, 799));
    EXPECT_EQ(error.GetErrorMessage(512), error.Message().substr(0, 511));
    EXPECT_EQ(error.GetErrorMessage(2000), error.Message());
}

}  // namespace
