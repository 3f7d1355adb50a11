#pragma once

#include <string>
#include <string_view>

// The difference of two texts as a unified diff (as "diff -u" prints it),
// line by line: a line ends after each "\n" and keeps whatever is before it
// ("\r" included), so different line ends show as different lines; a last
// line without "\n" is marked "\ No newline at end of file". The edit is a
// shortest one (Myers' algorithm) where the lines that differ are not too
// many; beyond that, the changed middle is shown removed and added whole.
class CUnifiedDiff {
public:
    static constexpr int kContext = 3;   // unchanged lines around each change

    // "" when the texts are equal; else the "--- " and "+++ " lines naming
    // them, then the hunks.
    static std::string Make(std::string_view expected, std::string_view actual, std::string_view expectedName,
                            std::string_view actualName);
};
