// The transcript's lines get their colour class from how they begin.
#include "panes/output_line_classes.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

TEST(OutputLineClassesTest, EchoErrorAndWarningLinesAreTold) {
    const std::pair<const char*, OutputClass> lines[] = {
        {"SQL> select 1", OutputClass::Echo},   {"ok", OutputClass::Plain},
        {"Error: no such table SQLSTATE = 42S02", OutputClass::Error},
        {"  wrapped", OutputClass::Plain},       {"Warning: w", OutputClass::Warning},
        {"SQLite", OutputClass::Plain},          {"Errors: 2", OutputClass::Plain},
        {"", OutputClass::Plain},                {"SQL> x", OutputClass::Echo},
    };
    // The text, and one byte a byte of it: the line's class, line ends plain.
    std::string text, expected;
    for (const auto& [line, cls] : lines) {
        if (!text.empty()) text += "\r\n", expected += std::string(2, '\0');
        text += line;
        expected += std::string(std::char_traits<char>::length(line), static_cast<char>(cls));
    }
    std::string classes(text.size(), '\x7F');
    ClassifyOutputLines(text, reinterpret_cast<unsigned char*>(classes.data()));
    EXPECT_EQ(classes, expected);
}
