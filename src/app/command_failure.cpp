#include "app/command_failure.h"

#include "common/exception.h"

#include <new>

CommandFailure DescribeCommandFailure(const std::exception_ptr& failure, CommandOrigin origin) {
    try {
        if (failure) std::rethrow_exception(failure);
    } catch (const std::bad_alloc&) {
        return {"Out of memory.", true};
    } catch (const CException& e) {
        if (!e.Message().empty()) return {e.Message(), false};
    } catch (...) {
    }
    return {origin == CommandOrigin::MenuOrAccelerator ? "Command failed." : "Internal application error.", false};
}
