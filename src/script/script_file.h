#pragma once

#include <string>
#include <string_view>

struct stat;

// A script file, read and written whole as bytes: no conversion, no
// byte-order mark, nothing added or taken away (NUL bytes included).
// Failures throw CFileException naming the file's full path.
class CScriptFile {
public:
    // Every byte of the file.
    static std::string Read(const std::string& path);

    // Makes the file hold exactly bytes. The bytes go to a new file beside
    // it, which then takes the file's place, so a save that fails (a full
    // disk, say) leaves the old file whole. The replaced file's permissions
    // and owner carry over, and a symbolic link keeps pointing to the file it
    // names. A file with several hard links, or in a folder where no new
    // file can be made, is overwritten in place instead. A file that may not
    // be written is refused, even where its folder would allow replacing it.
    static void Write(const std::string& path, std::string_view bytes);

private:
    static void WriteAll(int fd, std::string_view bytes, const std::string& fullPath);
    // Writes bytes to a new file beside target and renames it over target,
    // giving it the permissions and owner of existing (the target's status;
    // none for a new file). False, with nothing changed, when no new file
    // can be made there.
    static bool ReplaceAtomically(const std::string& target, std::string_view bytes, const std::string& fullPath,
                                  const struct stat* existing);
};
