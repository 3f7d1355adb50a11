#pragma once

#include <cstddef>
#include <exception>
#include <string>

// Base of the program's own failures (database errors, file errors). Each
// carries a finished, printable message; it is thrown by value and caught by
// reference.
class CException : public std::exception {
public:
    explicit CException(std::string message = {});

    // Copies the message into buffer, which holds capacity bytes: at most
    // capacity - 1 bytes and a terminating NUL (never a cut inside a UTF-8
    // character). Always returns true; helpContext is never touched.
    bool GetErrorMessage(char* buffer, std::size_t capacity, unsigned* helpContext = nullptr) const;

    // The same rule, as a string of at most capacity - 1 bytes.
    std::string GetErrorMessage(std::size_t capacity) const;

    const std::string& Message() const noexcept { return m_strMessage; }
    const char* what() const noexcept override { return m_strMessage.c_str(); }

protected:
    std::string m_strMessage;
};
