#pragma once

#include <wx/strconv.h>
#include <wx/string.h>

#include <string>
#include <string_view>

// UTF-8 that keeps every byte string, so that any value passes through
// wxFileConfig unchanged. A well-formed UTF-8 character (shortest form, no
// surrogate, at most U+10FFFF) becomes that character; every other byte b
// becomes the private-use character U+100000 + b, and back. A well-formed
// character in U+100000..U+1000FF is itself taken byte by byte, so the
// mapping is one to one, and ordinary text is held as it stands.
//
// wxFileConfig ends its text at a NUL character, so a NUL byte in a value
// becomes U+100000, and the file text holds that character as the two bytes
// \0: an escape beside wxFileConfig's own \n, \r, \t, \\ and \" that it
// never writes itself (it doubles every backslash of a value). A NUL byte in
// the file text ends the text, as it always did.
class CByteConv : public wxMBConv {
public:
    // A value's bytes as wxFileConfig holds them, and back.
    static wxString ToText(std::string_view bytes);
    static std::string FromText(const wxString& text);

    // The file text (for wxFileConfig's load and save).
    size_t ToWChar(wchar_t* dst, size_t dstLen, const char* src, size_t srcLen = wxNO_LEN) const override;
    size_t FromWChar(char* dst, size_t dstLen, const wchar_t* src, size_t srcLen = wxNO_LEN) const override;
    size_t GetMBNulLen() const override { return 1; }
    wxMBConv* Clone() const override { return new CByteConv; }
};
