#pragma once

#include <wx/string.h>

#include <string>
#include <string_view>

// Text for captions, labels and message boxes. Bytes that are valid UTF-8
// convert exactly; any other byte shows as the Latin-1 character of its value
// rather than making the whole text vanish.
wxString ToUiString(std::string_view bytes);

// What the user typed into a field, as UTF-8 bytes.
std::string FromUiString(const wxString& text);
