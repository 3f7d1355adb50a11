#include "app/command_failure.h"

#include "common/exception.h"

#include <gtest/gtest.h>

#include <new>

namespace {

// The window test sends the program's own failures, running out of memory
// and a standard exception through each origin; these are the rest.
TEST(CommandFailureTest, AFailureWithoutATextOfItsOwnGetsTheTextOfItsOrigin) {
    using enum CommandOrigin;
    const struct {
        std::exception_ptr failure;
        CommandOrigin origin;
        const char* text;
        bool outOfMemory;
    } cases[] = {
        {std::make_exception_ptr(CException("")), MenuOrAccelerator, "Command failed.", false},
        {std::make_exception_ptr(CException("")), Other, "Internal application error.", false},
        {std::make_exception_ptr(42), MenuOrAccelerator, "Command failed.", false},
        {nullptr, Other, "Internal application error.", false},
        {std::make_exception_ptr(std::bad_alloc()), Other, "Out of memory.", true},
    };
    for (const auto& c : cases) {
        const CommandFailure failure = DescribeCommandFailure(c.failure, c.origin);
        EXPECT_EQ(failure.text, c.text);
        EXPECT_EQ(failure.outOfMemory, c.outOfMemory) << c.text;
    }
}

}  // namespace
