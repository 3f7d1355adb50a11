#include "runner/console_sink.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

std::string Contents(std::FILE* file) {
    std::rewind(file);
    std::string text;
    char block[4096];
    std::size_t got;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0) text.append(block, got);
    return text;
}

// What the sink writes for the given appends.
std::string Written(const std::vector<std::string>& appends, bool lf) {
    File file(std::tmpfile());
    {
        CConsoleSink sink(file.get(), 80, lf);
        for (const std::string& text : appends) sink.AppendText(text);
        EXPECT_TRUE(sink.Flush(true));
    }
    return Contents(file.get());
}

struct LineEndCase {
    std::vector<std::string> appends;
    std::string crlf;  // written as it stands
    std::string lf;    // written with --lf
};

TEST(ConsoleSink, ConvertsLineEndsOnlyWhenAskedAndAcrossAppends) {
    const std::vector<LineEndCase> cases = {
        {{"SQL> select 1", "\r\n", "1 \r\n"}, "SQL> select 1\r\n1 \r\n", "SQL> select 1\n1 \n"},
        {{"a\r", "\nb"}, "a\r\nb", "a\nb"},                    // the pair split between two appends
        {{"a\r", "", "\nb"}, "a\r\nb", "a\nb"},                // an empty append between the halves
        {{"a\r", "b"}, "a\rb", "a\rb"},                        // a lone carriage return stays
        {{"a\r", "\r", "\n"}, "a\r\r\n", "a\r\n"},
        {{"a\r\r\nb\n"}, "a\r\r\nb\n", "a\r\nb\n"},            // a lone line feed stays
        {{"end\r"}, "end\r", "end\r"},                         // a final carriage return is not lost
        {{"\r\n\r\n", "\r", "\n\r\n"}, "\r\n\r\n\r\n\r\n", "\n\n\n\n"},
        {{std::string("x\0\r\ny", 5)}, std::string("x\0\r\ny", 5), std::string("x\0\ny", 4)},
        {{"\xC3\xA9\r\n"}, "\xC3\xA9\r\n", "\xC3\xA9\n"},
    };
    for (const LineEndCase& c : cases) {
        const std::string label = ::testing::PrintToString(c.appends);
        EXPECT_EQ(Written(c.appends, false), c.crlf) << label;
        EXPECT_EQ(Written(c.appends, true), c.lf) << label;
    }
}

TEST(ConsoleSink, KeepsOrderAroundBlocksLargerThanItsBuffer) {
    std::string big;
    for (std::size_t i = 0; big.size() < 3 * CConsoleSink::kBufferSize; ++i)
        big += "row " + std::to_string(i) + "\r\n";
    std::string bigLf;
    for (std::size_t i = 0; bigLf.size() < 3 * CConsoleSink::kBufferSize; ++i)
        bigLf += "row " + std::to_string(i) + "\n";
    bigLf.resize(bigLf.rfind('\n', bigLf.size()) + 1);

    const std::vector<std::string> appends = {"head\r", "\n", big, "tail\r\n"};
    EXPECT_EQ(Written(appends, false), "head\r\n" + big + "tail\r\n");

    // Many small appends that cross the buffer's end many times.
    std::vector<std::string> rows;
    std::string expectedLf = "head\n";
    for (std::size_t i = 0; expectedLf.size() < 2 * CConsoleSink::kBufferSize; ++i) {
        rows.push_back("row " + std::to_string(i) + "\r");
        rows.push_back("\n");
        expectedLf += "row " + std::to_string(i) + "\n";
    }
    rows.insert(rows.begin(), "head\r\n");
    EXPECT_EQ(Written(rows, true), expectedLf);
}

TEST(ConsoleSink, WrapsErrorTextsAtItsFixedWidth) {
    File file(std::tmpfile());
    {
        CConsoleSink sink(file.get(), 10, false);
        EXPECT_EQ(sink.WrapWidth(), 10);
        sink.AppendWrapped("\r\nError: 0123456789abcdefghij SQLSTATE = 42000\r\n");
    }
    // Line ends in the text count as ordinary bytes: "\r\n" takes two columns.
    EXPECT_EQ(Contents(file.get()), "\r\nError: 0\r\n123456789a\r\nbcdefghij \r\nSQLSTATE =\r\n 42000\r\n");
}

TEST(ConsoleSink, ReportsAFailedWriteAndStopsWriting) {
    File full(std::fopen("/dev/full", "w"));
    if (!full) GTEST_SKIP() << "no /dev/full";
    CConsoleSink sink(full.get(), 80, false);
    sink.AppendText("some transcript\r\n");
    EXPECT_FALSE(sink.Flush());
    EXPECT_EQ(sink.Error(), ENOSPC);
    sink.AppendText(std::string(2 * CConsoleSink::kBufferSize, 'x'));
    EXPECT_FALSE(sink.Flush(true));
    EXPECT_EQ(sink.Error(), ENOSPC);
}

TEST(ConsoleSink, WritesNothingBeforeAFlushWhileItsBufferHoldsTheText) {
    File file(std::tmpfile());
    CConsoleSink sink(file.get(), 80, false);
    sink.AppendText("buffered\r\n");
    EXPECT_EQ(Contents(file.get()), "");
    EXPECT_TRUE(sink.Flush());
    EXPECT_EQ(Contents(file.get()), "buffered\r\n");
}

}  // namespace
