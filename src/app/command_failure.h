#pragma once

#include <exception>
#include <string>

// How a failure that escaped a command handler is shown to the user.
struct CommandFailure {
    std::string text;          // the message box text
    bool outOfMemory = false;  // shown with the exclamation icon instead of the stop icon
};

// The program's own exceptions show their text; running out of memory shows
// "Out of memory."; anything else shows "Command failed.".
CommandFailure DescribeCommandFailure(const std::exception_ptr& failure);
