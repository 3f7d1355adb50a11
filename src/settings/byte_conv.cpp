#include "settings/byte_conv.h"

#include "common/display_text.h"

#include <cstring>
#include <cwchar>

static_assert(sizeof(wchar_t) == 4, "wxString holds UTF-32 here");

namespace {

constexpr wchar_t kByteBase = 0x100000;  // U+100000 + b stands for the byte b
constexpr wchar_t kNulInValue = kByteBase;

bool IsByte(wchar_t c) { return c >= kByteBase && c <= kByteBase + 0xFF; }

// inFile: the file text, where a NUL byte ends the text and the escape \0
// stands for a NUL of a value; otherwise a value, where a NUL byte is U+100000.
std::wstring Decode(std::string_view bytes, bool inFile) {
    std::wstring text;
    text.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte < 0x80) {
            if (byte == '\\' && inFile && i + 1 < bytes.size() && (bytes[i + 1] == '0' || bytes[i + 1] == '\\')) {
                // A pair: "\\" is an escaped backslash, never the start of "\0".
                if (bytes[i + 1] == '0') {
                    text += kNulInValue;
                } else {
                    text += L"\\\\";
                }
                i += 2;
                continue;
            }
            text += byte == 0 && !inFile ? kNulInValue : static_cast<wchar_t>(byte);
            ++i;
            continue;
        }
        const std::size_t length = display_text::PrefixForChars(bytes.substr(i), 1);
        wchar_t c = length == 1 ? 0 : byte & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) c = (c << 6) | (static_cast<unsigned char>(bytes[i + k]) & 0x3F);
        if (length == 1 || IsByte(c)) {
            for (std::size_t k = 0; k < length; ++k) text += kByteBase + static_cast<unsigned char>(bytes[i + k]);
        } else {
            text += c;
        }
        i += length;
    }
    return text;
}

// A character beyond Unicode (which no decoding here produces) is written as
// U+FFFD.
std::string Encode(std::wstring_view text, bool inFile) {
    std::string bytes;
    bytes.reserve(text.size());
    for (wchar_t c : text) {
        if (c < 0 || c > 0x10FFFF) c = 0xFFFD;
        if (c == kNulInValue) {
            bytes += inFile ? std::string_view("\\0") : std::string_view("\0", 1);
        } else if (IsByte(c)) {
            bytes += static_cast<char>(c - kByteBase);
        } else if (c < 0x80) {
            bytes += static_cast<char>(c);
        } else if (c < 0x800) {
            bytes += static_cast<char>(0xC0 | (c >> 6));
            bytes += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            bytes += static_cast<char>(0xE0 | (c >> 12));
            bytes += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            bytes += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            bytes += static_cast<char>(0xF0 | (c >> 18));
            bytes += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            bytes += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            bytes += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return bytes;
}

// wxMBConv's contract: the length counts the terminating NUL when the source
// included one (wxNO_LEN: up to and including its NUL); a destination too
// small fails.
template <typename Out>
size_t CopyOut(const Out& result, typename Out::value_type* dst, size_t dstLen) {
    if (dst) {
        if (result.size() > dstLen) return wxCONV_FAILED;
        std::memcpy(dst, result.data(), result.size() * sizeof(typename Out::value_type));
    }
    return result.size();
}

}  // namespace

wxString CByteConv::ToText(std::string_view bytes) {
    const std::wstring text = Decode(bytes, false);
    return wxString(text.data(), text.size());
}

std::string CByteConv::FromText(const wxString& text) {
    return Encode(std::wstring_view(text.wc_str(), text.length()), false);
}

size_t CByteConv::ToWChar(wchar_t* dst, size_t dstLen, const char* src, size_t srcLen) const {
    if (srcLen == wxNO_LEN) srcLen = std::strlen(src) + 1;
    return CopyOut(Decode(std::string_view(src, srcLen), true), dst, dstLen);
}

size_t CByteConv::FromWChar(char* dst, size_t dstLen, const wchar_t* src, size_t srcLen) const {
    if (srcLen == wxNO_LEN) srcLen = std::wcslen(src) + 1;
    return CopyOut(Encode(std::wstring_view(src, srcLen), true), dst, dstLen);
}
