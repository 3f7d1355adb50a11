#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// What a recovery file holds: the unsaved script's text byte for byte (any
// bytes), the path of its file ("" for a script never saved) and when it was
// written. Encoded as a short header whose fields carry their byte counts,
// followed by the text:
//
//   TarnwellRecovery 1\n  time <seconds since 1970>\n
//   path <bytes>\n <the path>\n  text <bytes>\n <the text>
struct CRecoveryRecord {
    std::string text;
    std::string documentPath;
    std::int64_t time = 0;

    // The header alone: the text follows it.
    std::string Header() const;
    std::string Encode() const { return Header() + text; }
    // None for bytes that are not a whole record (damaged or of another
    // version).
    static std::optional<CRecoveryRecord> Decode(std::string_view bytes);

    // The lines of the text as an editor counts them (a last line without
    // a line end counts; "\n", "\r\n" and a lone "\r" end lines).
    std::size_t LineCount() const;
    // The start-up question that offers the text: its time as HH:MM in
    // local time, and its number of lines.
    std::string Question() const;
};
