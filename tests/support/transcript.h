#pragma once

#include <algorithm>
#include <regex>
#include <string>

// Pieces of the transcript that a run writes, byte for byte, for building
// the expected text of a test.
namespace transcript {

// Quiet output (EnableOutput off) starts and ends with these lines.
inline const std::string kStart = "Executing...\r\n";
inline const std::string kEnd = "Script execution complete\r\n";

inline std::string Echo(const std::string& statement) { return "SQL> " + statement; }
// A statement without result set that succeeded.
inline std::string Ok(const std::string& statement) { return Echo(statement) + "\r\nok\r\n"; }

// A statement whose result set is one column of the default width (10)
// holding one row, as "select 1 as x" gives it.
inline std::string OneValue(const std::string& statement, const std::string& name, const std::string& value) {
    const auto cell = [](const std::string& text) { return text + std::string(10 - text.size(), ' ') + " \r\n"; };
    return Echo(statement) + "\r\n" + cell(name) + "---------- \r\n" + cell(value) + "1 row(s) fetched\r\n";
}

// The first value of the first result set in a transcript, up to its first
// blank ("" when there is none).
inline std::string FirstValue(const std::string& text) {
    const std::size_t dashes = text.find("- \r\n");
    if (dashes == std::string::npos) return {};
    const std::size_t value = dashes + 4;
    return text.substr(value, text.find(' ', value) - value);
}

// text as a regular expression that matches exactly it.
inline std::string Literal(const std::string& text) {
    return std::regex_replace(text, std::regex(R"([.^$|()\[\]{}*+?\\])"), R"(\$&)");
}

// A result set stopped in its rows: text is head (a regular expression that
// matches at its start), row lines, then the row count line and what follows
// it, which tail receives. Returns the number of row lines (-1 when head does
// not match); without a count line, every line after head counts.
inline long RowsAfter(const std::string& text, const std::string& head, std::string& tail) {
    std::smatch match;
    if (!std::regex_search(text, match, std::regex(head), std::regex_constants::match_continuous)) return -1;
    const std::size_t counted = text.rfind(" row(s) fetched");
    const std::size_t end = counted == std::string::npos ? text.size() : text.rfind("\r\n", counted) + 2;
    tail = text.substr(end);
    return std::count(text.begin() + match.length(), text.begin() + static_cast<long>(end), '\n');
}

}  // namespace transcript
