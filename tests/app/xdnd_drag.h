#pragma once

#include <string>

// A drag from another program, made as a file manager makes it: an XDND
// source on a display connection of its own offers data in one format (such
// as "text/uri-list"), moves over a point of the screen and drops there,
// while the test's windows handle their events.
namespace xdnd_drag {

// Drags data offered as type to the window under the screen point (x, y) and
// drops it. True when the window took the drop and reported it done; false
// when it refused, or after ten seconds without an answer.
bool Drop(int x, int y, const std::string& type, const std::string& data);

}  // namespace xdnd_drag
