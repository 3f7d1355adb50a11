#include "app/command_failure.h"

#include "common/exception.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

namespace {

TEST(CommandFailureTest, ShowsTheProgramsOwnTextOrAGenericOne) {
    struct Case {
        std::exception_ptr failure;
        const char* text;
        bool outOfMemory;
    };
    const Case cases[] = {
        {std::make_exception_ptr(CException("The file /tmp/x.sql could not be found.")),
         "The file /tmp/x.sql could not be found.", false},
        {std::make_exception_ptr(CException("")), "Command failed.", false},
        {std::make_exception_ptr(std::bad_alloc()), "Out of memory.", true},
        {std::make_exception_ptr(std::runtime_error("vector::_M_range_check")), "Command failed.", false},
        {std::make_exception_ptr(42), "Command failed.", false},
        {nullptr, "Command failed.", false},
    };
    for (const Case& c : cases) {
        const CommandFailure failure = DescribeCommandFailure(c.failure);
        EXPECT_EQ(failure.text, c.text);
        EXPECT_EQ(failure.outOfMemory, c.outOfMemory) << c.text;
    }
}

}  // namespace
