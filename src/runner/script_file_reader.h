#pragma once

#include <string>

// Reads a script whole, as bytes and without any conversion.
class CScriptFileReader {
public:
    // The content of the file at path, or of standard input for "-". Throws
    // CScriptFileError naming the file and the reason (a missing file, no
    // permission, a directory, a read error).
    static std::string Read(const std::string& path);
};
