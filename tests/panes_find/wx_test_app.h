#pragma once

// Starts wxWidgets once for a GUI test program (a plain wxApp on the display
// that Xvfb provides) and shuts it down after the last test.
namespace wx_test_app {

// Lets pending events and idle handlers run.
void Yield();

}  // namespace wx_test_app
