#include "runner/console_sink.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

// What the sink writes for the given appends, once it is done.
std::string Written(const std::vector<std::string>& appends, bool lf) {
    File file(std::tmpfile(), std::fclose);
    {
        CConsoleSink sink(file.get(), 80, lf);
        for (const std::string& text : appends) sink.AppendText(text);
        EXPECT_TRUE(sink.Flush(true));
    }
    std::rewind(file.get());
    std::string text;
    char block[4096];
    for (std::size_t got; (got = std::fread(block, 1, sizeof block, file.get())) > 0;) text.append(block, got);
    return text;
}

TEST(ConsoleSink, ConvertsLineEndsOnlyWhenAskedAndAcrossAppends) {
    // lf: what is written with --lf; without it, the appends as they stand
    const struct { std::vector<std::string> appends; std::string lf; } cases[] = {
        {{"SQL> select 1", "\r\n", "1 \r\n"}, "SQL> select 1\n1 \n"},
        {{"a\r", "", "\nb"}, "a\nb"},         // the pair split between appends, an empty one between
        {{"a\r", "b"}, "a\rb"},               // a lone carriage return stays
        {{"a\r", "\r", "\n"}, "a\r\n"},
        {{"a\r\r\nb\n"}, "a\r\nb\n"},         // a lone line feed stays
        {{"end\r"}, "end\r"},                 // a final carriage return is not lost
        {{std::string("x\0\r\ny", 5)}, std::string("x\0\ny", 4)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.appends));
        std::string all;
        for (const std::string& text : c.appends) all += text;
        EXPECT_EQ(Written(c.appends, false), all);
        EXPECT_EQ(Written(c.appends, true), c.lf);
    }
}

TEST(ConsoleSink, KeepsOrderAroundBlocksLargerThanItsBuffer) {
    // One block larger than the buffer, and many small appends that cross
    // the buffer's end many times with pairs split between them.
    std::string big;
    std::vector<std::string> rows = {"head\r\n"};
    std::string rowsLf = "head\n";
    for (std::size_t i = 0; big.size() < 3 * CConsoleSink::kBufferSize; ++i) {
        const std::string row = "row " + std::to_string(i);
        big += row + "\r\n";
        rows.insert(rows.end(), {row + "\r", "\n"});
        rowsLf += row + "\n";
    }
    EXPECT_EQ(Written({"head\r", "\n", big, "tail\r\n"}, false), "head\r\n" + big + "tail\r\n");
    EXPECT_EQ(Written(rows, true), rowsLf);
}

TEST(ConsoleSink, ReportsAFailedWriteAndStopsWriting) {
    File full(std::fopen("/dev/full", "w"), std::fclose);
    ASSERT_TRUE(full);
    CConsoleSink sink(full.get(), 80, false);
    sink.AppendText("some transcript\r\n");
    EXPECT_FALSE(sink.Flush());
    EXPECT_EQ(sink.Error(), ENOSPC);
    sink.AppendText(std::string(2 * CConsoleSink::kBufferSize, 'x'));
    EXPECT_FALSE(sink.Flush(true));
    EXPECT_EQ(sink.Error(), ENOSPC);
}

}  // namespace
