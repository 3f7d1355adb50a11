#include "db/db_exception.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Without a readable record the text is fixed, whatever the record holds.
TEST(DbExceptionMessage, FormatsTheFirstRecordOrTheFixedText) {
    EXPECT_STREQ(CDBException(DiagRecord{true, "42S02", "no such table: t"}).what(),
                 "\r\nError: no such table: t SQLSTATE = 42S02\r\n");
    EXPECT_STREQ(CDBException(DiagRecord{false, "42000", "ignored"}).what(), "\r\nError: SQLGetDiagRec failed\r\n");
}

// GetErrorMessage keeps the message while it is shorter than the capacity,
// otherwise its first capacity - 1 bytes, backed off so no UTF-8 character
// is cut; the buffer form ends them with a NUL and writes nothing beyond.
TEST(CExceptionErrorMessage, KeepsTheFirstCapacityMinusOneBytes) {
    const std::size_t n = 800;
    // kept: the length of the prefix of message kept
    const struct { std::size_t capacity; std::string message; std::size_t kept; } cases[] = {
        {n, std::string(n - 1, 'b'), n - 1}, {n, std::string(n, 'c'), n - 1},
        {n, std::string(n - 2, 'f') + "\xC3\xA9tail", n - 2},  // a 2-byte character on the cut goes
        {n, std::string(n - 3, 'h') + "\xC3\xA9xyz", n - 1},   // one just before the cut stays
        {1, "abc", 0}, {0, "abc", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.capacity) + ", " + std::to_string(c.message.size()) + " bytes");
        const CException error(c.message);
        const std::string expected = c.message.substr(0, c.kept);
        EXPECT_EQ(error.GetErrorMessage(c.capacity), expected);

        std::vector<char> buffer(c.capacity + 16, '#');
        EXPECT_TRUE(error.GetErrorMessage(buffer.data(), c.capacity));
        if (c.capacity > 0) {
            EXPECT_EQ(std::string(buffer.data()), expected);
        }
        EXPECT_EQ(std::string(buffer.data() + c.capacity, 16), std::string(16, '#'));
    }
}

}  // namespace
