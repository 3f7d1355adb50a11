#include "common/exception.h"

#include "common/display_text.h"

#include <cstring>
#include <string_view>
#include <utility>

CException::CException(std::string message) : m_strMessage(std::move(message)) {}

std::string CException::GetErrorMessage(std::size_t capacity) const {
    if (capacity == 0) return {};
    // The message as a C string: it ends at its first NUL.
    const std::string_view text(m_strMessage.c_str());
    if (text.size() < capacity) return std::string(text);
    return std::string(text.substr(0, display_text::PrefixForBytes(text, capacity - 1)));
}

bool CException::GetErrorMessage(char* buffer, std::size_t capacity, unsigned* /*helpContext*/) const {
    if (buffer == nullptr || capacity == 0) return true;
    const std::string text = GetErrorMessage(capacity);
    std::memcpy(buffer, text.data(), text.size());
    buffer[text.size()] = '\0';
    return true;
}
