#pragma once

#include <string>

// The eleven settings the General page of the preferences edits, in the
// page's own order. A new page holds zeros and empty strings.
struct CGeneralPrefs {
    int DefColLen = 0;
    int EnableSpool = 0;
    int MaxColLen = 0;
    std::string SpoolFile;
    int EnableOutput = 0;
    std::string SingleLineComment;
    std::string MultilineCommentEnd;
    std::string MultilineCommentStart;
    int RemoveComments = 0;
    int ShowTiming = 0;
    std::string NullText{};

    friend bool operator==(const CGeneralPrefs&, const CGeneralPrefs&) = default;
};
