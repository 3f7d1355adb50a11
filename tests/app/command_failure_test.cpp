#include "app/command_failure.h"

#include "common/exception.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

namespace {

TEST(CommandFailureTest, ShowsTheProgramsOwnTextOrAGenericOneByOrigin) {
    using enum CommandOrigin;
    struct Case {
        std::exception_ptr failure;
        CommandOrigin origin;
        const char* text;
        bool outOfMemory;
    };
    const Case cases[] = {
        {std::make_exception_ptr(CException("The file /tmp/x.sql could not be found.")), MenuOrAccelerator,
         "The file /tmp/x.sql could not be found.", false},
        {std::make_exception_ptr(CException("The file /tmp/x.sql could not be found.")), Other,
         "The file /tmp/x.sql could not be found.", false},
        {std::make_exception_ptr(CException("")), MenuOrAccelerator, "Command failed.", false},
        {std::make_exception_ptr(CException("")), Other, "Internal application error.", false},
        {std::make_exception_ptr(std::bad_alloc()), MenuOrAccelerator, "Out of memory.", true},
        {std::make_exception_ptr(std::bad_alloc()), Other, "Out of memory.", true},
        {std::make_exception_ptr(std::runtime_error("vector::_M_range_check")), MenuOrAccelerator,
         "Command failed.", false},
        {std::make_exception_ptr(std::runtime_error("vector::_M_range_check")), Other,
         "Internal application error.", false},
        {std::make_exception_ptr(42), MenuOrAccelerator, "Command failed.", false},
        {nullptr, Other, "Internal application error.", false},
    };
    for (const Case& c : cases) {
        const CommandFailure failure = DescribeCommandFailure(c.failure, c.origin);
        EXPECT_EQ(failure.text, c.text);
        EXPECT_EQ(failure.outOfMemory, c.outOfMemory) << c.text;
    }
}

}  // namespace
