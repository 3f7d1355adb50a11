#pragma once

#include <string>
#include <string_view>

// Writes a text to a file as it is: the file is created, or truncated when it
// exists, and receives exactly the given bytes (no conversion, no terminator).
// While it is written the file is locked for this writer alone.
class COutputFileWriter {
public:
    // Throws CFileException (cause from errno, the file's full path) when the
    // file cannot be opened, written or closed, and a sharing violation when
    // another program holds it locked (its content is then left alone). When
    // opening fails nothing is created; when writing fails the file keeps the
    // bytes written so far.
    static void Write(const std::string& path, std::string_view bytes);

    // path made absolute against the current folder (lexically; the file
    // need not exist), as the messages name it.
    static std::string FullPath(const std::string& path);
};
