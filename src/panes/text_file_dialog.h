#pragma once

#include <optional>
#include <string>

class wxWindow;

// The save dialog for text files (the saved output, the spool file): it
// opens on "output.txt" every time, with "Text Files (*.txt)" as the first,
// selected filter, adds ".txt" to a name typed without an extension, and asks
// before an existing file is replaced.
class CTextFileDialog {
public:
    // The chosen file's full path (its bytes as the file system takes them),
    // or none when the user cancelled.
    static std::optional<std::string> Choose(wxWindow* parent);
};
