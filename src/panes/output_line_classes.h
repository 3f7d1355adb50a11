#pragma once

#include <string_view>

// The colour classes of the transcript's lines: the echo of a statement
// ("SQL> ..."), a driver's error and warning ("Error: ...", "Warning: ...");
// everything else is plain.
enum class OutputClass : unsigned char { Plain = 0, Echo = 1, Error = 2, Warning = 3 };

// Writes the class of each byte of text (text.size() bytes) by the line it
// is on: a line takes its class from how it begins. text begins at a line
// start. Line ends are Plain.
void ClassifyOutputLines(std::string_view text, unsigned char* classes);
