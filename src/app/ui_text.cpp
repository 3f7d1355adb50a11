#include "app/ui_text.h"

#include <wx/strconv.h>

wxString ToUiString(std::string_view bytes) {
    if (bytes.empty()) return wxString();
    wxString text = wxString::FromUTF8(bytes.data(), bytes.size());
    if (text.empty()) text = wxString(bytes.data(), wxConvISO8859_1, bytes.size());
    return text;
}

std::string FromUiString(const wxString& text) {
    const wxScopedCharBuffer utf8 = text.utf8_str();
    return std::string(utf8.data(), utf8.length());
}
