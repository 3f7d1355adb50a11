#pragma once

#include <wx/string.h>

#include <optional>
#include <string>

class wxWindow;

// The save dialog for text files (the saved output, the spool file, the
// script): GTK's dialog adds no default extension, so the extension is added
// to a name typed without one, and replacing an existing file of the name
// that results is asked first.
class CTextFileDialog {
public:
    // What the dialog comes up with, and the extension it adds.
    struct Kind {
        wxString title;
        wxString directory;
        wxString initialName;
        wxString filters;  // the dialog's "name|pattern|..." list; the first is selected
        std::string extension;
    };

    // Text files: "output.txt" every time, with "Text Files (*.txt)" as the
    // first, selected filter, adding ".txt".
    static std::optional<std::string> Choose(wxWindow* parent);

    // The chosen file's full path (its bytes as the file system takes them),
    // or none when the user cancelled.
    static std::optional<std::string> Choose(wxWindow* parent, const Kind& kind);
};
