#pragma once

#include <exception>
#include <string>

// Where the event came from whose handler let a failure escape: a menu entry
// or an accelerator key, or anything else (a tool-bar button, a dialog's
// control, a window message).
enum class CommandOrigin { MenuOrAccelerator, Other };

// How a failure that escaped a command handler is shown to the user.
struct CommandFailure {
    std::string text;          // the message box text
    bool outOfMemory = false;  // shown with the exclamation icon instead of the stop icon
};

// The program's own exceptions show their text; running out of memory shows
// "Out of memory."; anything else shows "Command failed." when it came from a
// menu or an accelerator and "Internal application error." otherwise.
CommandFailure DescribeCommandFailure(const std::exception_ptr& failure, CommandOrigin origin);
