#pragma once

#include <optional>
#include <string>
#include <string_view>

// Where the connection's password comes from, so that it never has to stand
// on the command line: the environment variable TARNWELL_PASSWORD when it is
// set (an empty value included); otherwise a prompt without echo, on standard
// input when that is a terminal, or on /dev/tty when standard input carries
// the scripts; with no terminal the password is empty.
class CPasswordSource {
public:
    static constexpr const char* kVariable = "TARNWELL_PASSWORD";
    static constexpr const char* kPrompt = "Password: ";

    static std::string Obtain(bool scriptsOnStandardInput);

    // Writes prompt to outFd and reads one line from the terminal inFd with
    // echo off; the terminal's mode is restored on every way out, a signal
    // that ends the program included. The line end is not part of the result.
    // No value when inFd is not a terminal.
    static std::optional<std::string> ReadHidden(int inFd, int outFd, std::string_view prompt);

    // Turns the echo back on when a prompt has it off; for a thread that
    // ends the program while the prompt may be waiting.
    static void RestoreTerminal() noexcept;
};
